#include "catalogue/DownloadRefusedException.h"

DownloadRefusedException::DownloadRefusedException (juce::String messageToUse)
    : message (std::move (messageToUse))
{
}

const char* DownloadRefusedException::what() const noexcept
{
    return message.toRawUTF8();
}
