#include "device/CommHostException.h"

CommHostException::CommHostException (juce::int32 hostErrorToUse) noexcept
    : hostError (hostErrorToUse)
{
}

const char* CommHostException::what() const noexcept
{
    switch (hostError)
    {
        case NoResponse:      return "No reponse was received from the device";
        case CorruptReply:    return "The device returned corrupt data";
        case UnexpectedReply: return "An unexpected or invalid message was received";
        default:              return "";
    }
}
