#include "device/BinFileException.h"

BinFileException::BinFileException (juce::String messageToUse)
    : message (std::move (messageToUse))
{
}

const char* BinFileException::what() const noexcept
{
    return message.toRawUTF8();
}
