#include "device/CommTargetException.h"

namespace
{
    const char* const formatTexts[] = {
        "Command 0x%X is not implemented by the device",
        "Command 0x%X specified an invalid Parameter ID for the device",
        "Command 0x%X specified an invalid Effect Type ID for the device",
        "Command 0x%X specified an invalid Modifier Group ID for the device",
        "Command 0x%X specified an invalid Section ID for the device",
        "Command 0x%X specified an out-of-range index for the device",
        "Command 0x%X specified an invalid bank for the device",
        "Command 0x%X contained corrupt data",
        "Request command 0x%X specified an invalid size parameter",
        "Receive command 0x%X specified an invalid size parameter",
        "Command 0x%X caused a buffer overrun on the device",
        "The device could not execute command 0x%X in its current mode",
        "Command 0x%X failed",
        "Command 0x%X contained invalid data"
    };

    juce::String formatMessage (juce::uint8 command, juce::int32 errorCode)
    {
        const auto index = (size_t) (juce::uint32) errorCode;

        if (index >= std::size (formatTexts))
            return {};

        return juce::String (formatTexts[index])
            .replace ("%X", juce::String::toHexString ((int) command).toUpperCase());
    }
}

// The text is made once here so that the pointer what returns stays valid for
// the object's lifetime, however often it is asked for.
CommTargetException::CommTargetException (juce::uint8 commandToUse, juce::int32 errorCodeToUse)
    : command (commandToUse),
      errorCode (errorCodeToUse),
      message (formatMessage (commandToUse, errorCodeToUse))
{
}

const char* CommTargetException::what() const noexcept
{
    return message.toRawUTF8();
}
