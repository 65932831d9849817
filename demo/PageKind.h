#pragma once

#include "wizard/WizardPage.h"

/** Which of the wizard's ten pages a page is, told by its class. */
struct PageKind
{
    /** In the order of the flow. */
    enum Kind
    {
        welcome,
        scan,
        selectDevice,
        versionFilter,
        selectUpdate,
        confirm,
        instructions,
        download,
        programming,
        results,
        unknown
    };

    static Kind of (WizardPage& page);

    /** "welcome", "scan", "select-device", "version-filter", "select-update",
        "confirm", "instructions", "download", "programming", "results" or "unknown".
    */
    static juce::String nameOf (Kind kind);
};
