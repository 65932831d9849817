#pragma once

#include <memory>
#include <juce_core/juce_core.h>

#include "catalogue/TargetsInfo.h"

/** A catalogue file as the program reads it, so that the tool never signs or stamps
    a file the program would turn away.
*/
struct ProgramCatalogue
{
    /** Throws ToolError with the program's reason when it would not read file. */
    static ProgramCatalogue read (const juce::MemoryBlock& file);

    juce::String text;
    std::unique_ptr<TargetsInfo> catalogue;
};
