#pragma once

#include <optional>
#include <juce_core/juce_core.h>

/** A local copy of what the update server serves: the file an image address names is
    the address's path below the folder. Addresses come from a catalogue, so nothing
    they name may lie outside it.
*/
class ImageFolder
{
public:
    explicit ImageFolder (const juce::File& folderToServe) : folder (folderToServe) {}

    struct Lookup
    {
        std::optional<juce::File> file;
        juce::String whyNot;   // when there is no file: why, for the user
    };

    /** The file behind address, or why there is none: it is not an address the program
        would fetch, its path steps up ("..") or leads outside the folder, directly or
        through a link, or nothing is there.
    */
    Lookup find (const juce::String& address) const;

private:
    static juce::String decodedPath (const juce::String& address);

    const juce::File folder;
};
