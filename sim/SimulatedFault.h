#pragma once

#include <juce_core/juce_core.h>

/** Something a simulated device does wrong when it handles certain occurrences of one
    command: the occurrences numbered first to first + times - 1, counting from 1 the
    messages of that command the device accepted (addressed to it, heard while it
    answers, intact).

    Apart from errorReply, which refuses the command, the command is carried out as
    usual (a write lands in the flash, the mode switches) and only what goes back to
    the host is changed.
*/
struct SimulatedFault
{
    enum class Kind
    {
        noReply,            // nothing is sent back
        badChecksum,        // the reply's checksum byte has its lowest bit flipped
        wrongKind,          // an Ack instead of a reply with data, a VersionReply instead of an Ack
        tooShort,           // F0, the manufacturer ID and F7 alone, too short for a prefix
        errorReply,         // an ErrorReply with errorCode; the command is not carried out
        strayMessage,       // the reply, then a message the host never asked for
        vanishAfterReply,   // the reply, then the device detaches from its port for good
        foreignHeader,      // the reply under the next family ID: it names another device
        strangerAfterReply, // the reply, then a message of another maker's device on the same port
        missingRegion       // a memory map reply counts one region more than it carries
    };

    Kind kind = Kind::noReply;
    juce::uint8 command = 0;
    int first = 1;
    int times = 1;
    juce::uint8 errorCode = 0;

    bool appliesTo (juce::uint8 commandHeard, int occurrence) const noexcept
    {
        return commandHeard == command && occurrence >= first && occurrence < first + times;
    }
};
