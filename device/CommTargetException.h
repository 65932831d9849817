#pragma once

#include "device/CommException.h"

#include <juce_core/juce_core.h>

/** The device answered with an error reply: it rejected a command. */
class CommTargetException : public CommException
{
public:
    CommTargetException (juce::uint8 command, juce::int32 errorCode);

    /** The device's text for the error code, naming the command in hexadecimal;
        empty for unknown codes. Valid as long as this object lives.
    */
    const char* what() const noexcept override;

    const juce::uint8 command;
    const juce::int32 errorCode;

private:
    juce::String message;
};
