#pragma once

#include <juce_core/juce_core.h>

/** The tool's file access: bounded reads with messages that name the file, and writes
    that never leave a half-written file behind. Every failure throws ToolError.
*/
struct ToolFiles
{
    /** The whole of file, which may hold no more than limit bytes; what names it in a
        message ("catalogue", "image", ...).
    */
    static juce::MemoryBlock read (const juce::File& file, juce::int64 limit, const juce::String& what);

    /** Replaces file's content with data in one step. */
    static void replace (const juce::File& file, const juce::MemoryBlock& data);

    /** Whether users other than file's owner (its group, or anyone) may read it; never
        on Windows, where the folder's permissions decide.
    */
    static bool isReadableByOthers (const juce::File& file);

    /** Creates file with text, refusing to touch a file that already exists. A secret
        file is readable and writable by its owner alone from the moment it exists.
    */
    static void createNew (const juce::File& file, const juce::String& text, bool secret);
};
