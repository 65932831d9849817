#pragma once

#include <juce_core/juce_core.h>

#include "tools/catalogue/ImageFolder.h"

/** Writes into a catalogue the Size and Sha256 of every image it names that lies in
    a local copy of the served folder, changing nothing else in its text.
*/
class CatalogueStamper
{
public:
    explicit CatalogueStamper (const ImageFolder& imagesToDescribe) : images (imagesToDescribe) {}

    struct Result
    {
        juce::MemoryBlock catalogue;
        int stamped = 0;
        juce::StringArray unstamped;   // "<address>: <why>", one per revision left as it was
    };

    /** catalogue: the file's bytes. Throws ToolError when it is not a catalogue the
        program reads, or when an image it names is larger than the program downloads;
        nothing is stamped then.
    */
    Result stamp (const juce::MemoryBlock& catalogue) const;

    /** The Size and Sha256 attributes that describe image, as a catalogue writes them. */
    static juce::String describe (const juce::MemoryBlock& image);

    /** image's bytes: no larger than the program downloads. Throws ToolError. */
    static juce::MemoryBlock readImage (const juce::File& image);

private:
    const ImageFolder& images;
};
