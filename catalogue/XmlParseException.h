#pragma once

#include <exception>
#include <juce_core/juce_core.h>

/** A targets file that cannot be read as a catalogue. what() is the text the user
    reads on the results page.
*/
class XmlParseException : public std::exception
{
public:
    explicit XmlParseException (juce::String messageToUse);

    const char* what() const noexcept override;

private:
    juce::String message;
};
