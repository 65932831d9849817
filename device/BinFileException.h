#pragma once

#include <juce_core/juce_core.h>

#include <exception>

/** A firmware image that cannot be written as it stands: a file that ends before its
    records do, records that overlap, or image data inside the device's regions that
    was left unwritten.
*/
class BinFileException : public std::exception
{
public:
    explicit BinFileException (juce::String message);

    const char* what() const noexcept override;

    const juce::String message;
};
