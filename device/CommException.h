#pragma once

#include <exception>

/** A device exchange failed. Thrown alone when a device's MIDI ports cannot be
    opened; the base of the host and target errors otherwise.
*/
class CommException : public std::exception
{
public:
    const char* what() const noexcept override;
};
