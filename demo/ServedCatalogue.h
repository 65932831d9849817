#pragma once

#include <juce_core/juce_core.h>

/** The catalogue the demo's stand-in update server hands out: the generated one, with
    its addresses moved from the configured update host to wherever the demo serves
    the same files.
*/
struct ServedCatalogue
{
    /** Where the program asks the update server for the catalogue. */
    static constexpr const char* path = "/updater/common/config/UpdateTargets.xml";

    /** catalogue with every address that begins "http://<host>/" beginning with
        baseUrl (which ends with a slash) instead. Addresses on other hosts, including
        hosts whose names merely begin like host, are left as they are.
    */
    static juce::String moveAddresses (const juce::String& catalogue, const juce::String& host,
                                       const juce::String& baseUrl);
};
