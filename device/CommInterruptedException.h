#pragma once

#include "device/CommHostException.h"

/** The thread driving the device was told to exit (its window is closing) while it
    waited for a reply or between two blocks, so the exchange was abandoned.

    It is a CommHostException (no reply was received) so that every place that handles
    a missing reply also stops here; the places that would otherwise carry on after a
    missing reply (the identity retry, the switch into update mode) let it through.
*/
class CommInterruptedException : public CommHostException
{
public:
    CommInterruptedException() noexcept;

    const char* what() const noexcept override;

    /** Throws when the calling thread has been told to exit. */
    static void throwIfThreadShouldExit();
};
