#pragma once

#include "flow/UpdateEnd.h"

/** How quillon-cli ends, for scripts to act on; --help and the README list them. */
enum class ExitCode
{
    success = 0,                // also: nothing to do
    usage = 1,                  // the command line is wrong, or a confirmation cannot be asked for
    noDevices = 2,
    noUpdate = 3,
    catalogueUnreachable = 4,
    catalogueInvalid = 5,
    downloadFailed = 6,
    updateFailed = 7,
    cancelled = 8               // Ctrl-C, or the user did not confirm
};

/** The exit code of a run that ended as end. */
ExitCode exitCodeFor (UpdateEnd end) noexcept;
