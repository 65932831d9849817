#include "catalogue/XmlParseException.h"

XmlParseException::XmlParseException (juce::String messageToUse)
    : message (std::move (messageToUse))
{
}

const char* XmlParseException::what() const noexcept
{
    return message.toRawUTF8();
}
