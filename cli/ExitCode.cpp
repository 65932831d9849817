#include "cli/ExitCode.h"

ExitCode exitCodeFor (UpdateEnd end) noexcept
{
    switch (end)
    {
        case UpdateEnd::succeeded:             return ExitCode::success;
        case UpdateEnd::catalogueUnreachable:  return ExitCode::catalogueUnreachable;
        case UpdateEnd::catalogueInvalid:      return ExitCode::catalogueInvalid;
        case UpdateEnd::noDevices:             return ExitCode::noDevices;
        // A catalogue that lists nothing offers no update for any device.
        case UpdateEnd::catalogueEmpty:
        case UpdateEnd::noUpdate:              return ExitCode::noUpdate;
        case UpdateEnd::imageUnreachable:
        case UpdateEnd::imageRefused:          return ExitCode::downloadFailed;
        case UpdateEnd::programmingFailed:
        case UpdateEnd::programmingUnfinished: return ExitCode::updateFailed;
        case UpdateEnd::cancelled:             return ExitCode::cancelled;
    }

    return ExitCode::updateFailed;
}
