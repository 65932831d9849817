#pragma once

#include <juce_core/juce_core.h>

#include <exception>

/** A firmware image file that ends before its records do. */
class BinFileException : public std::exception
{
public:
    explicit BinFileException (juce::String message);

    const char* what() const noexcept override;

    const juce::String message;
};
