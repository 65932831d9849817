#pragma once

#include "device/CommException.h"

#include <juce_core/juce_core.h>

/** The computer got no usable reply from the device. */
class CommHostException : public CommException
{
public:
    enum HostError : juce::int32
    {
        NoResponse = 0,       // nothing arrived within the command's time-out
        CorruptReply = 1,     // something arrived but did not decode
        UnexpectedReply = 2   // a reply to some other command arrived
    };

    explicit CommHostException (juce::int32 hostError) noexcept;

    /** The text for the error; empty for codes other than the three above. */
    const char* what() const noexcept override;

    const juce::int32 hostError;
};
