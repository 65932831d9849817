#pragma once

#include "sequencer/broker/BrokerOptions.h"

/** quillon-sequencer's run: a kernel with the devices plugged in and a server on the
    socket, the log kept until SIGTERM or SIGINT arrives, then the flash expectations
    checked and everything taken down in order: the server (its clients leave), the
    devices (each detached before its client goes), the kernel.
*/
struct Broker
{
    /** Blocks SIGTERM and SIGINT for the calling thread and every thread it starts
        later, so that run can wait for them. Call it first in main.
    */
    static void holdStopSignals();

    /** The exit code: 0 when every expectation held, 1 when one did not or the socket
        could not be made, 2 when an image file cannot be read or the log not written.
    */
    static int run (const BrokerOptions& options);
};
