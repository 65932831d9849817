#pragma once

/** How a run of the wizard ended, as the results page shows it. */
enum class UpdateResult
{
    UpdateFailed = 0,
    UpdateSucceeded = 1,
    NoDevicesFound = 2,
    NoUpdatesFound = 3,
    UnableToConnect = 4,
    InvalidTargetsFile = 5,
    UpdateCancelled = 6
};
