#include "device/CommException.h"

const char* CommException::what() const noexcept
{
    return "An unspecified communication error has occured";
}
