#pragma once

#include <juce_core/juce_core.h>

/** One step of a complete update as the host takes it, in order: a request and the
    wait for its answer, or one of the host's own steps that can fail on their own.
*/
struct SoakStep
{
    enum class Kind
    {
        request,        // one message to the device, then the wait for its answer
        download,       // the image is fetched from the server
        openPorts,      // the device's ports are opened (or reopened) for programming
        parseImage,     // the image file is indexed
        fitImage        // the image is laid over the device's memory map
    };

    Kind kind = Kind::request;
    juce::uint8 command = 0;
    int timeoutMs = 0;
    bool duringScan = false;
    juce::uint32 address = 0;           // of a WriteBlock
    bool resentOnFailure = false;       // an image block: sent again while the device answers code 12

    /** How the host's message of this step is written in a list of sends, "7B" or "7A@0x100". */
    juce::String label() const;
};
