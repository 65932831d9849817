#pragma once

#include <exception>

namespace pex
{
    /** The base of the errors of the MIDI message classes. */
    class MidiException : public std::exception
    {
    public:
        const char* what() const noexcept override;
    };
}
