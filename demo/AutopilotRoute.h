#pragma once

/** The choices the autopilot makes on its way through the wizard. A plain value. */
struct AutopilotRoute
{
    enum class Device
    {
        firstWithUpdate,        // the first device listed that has a newer firmware
        firstWithInstructions,  // the first of those whose product asks for preparation first
        firstUpToDate           // the first device listed that has no newer firmware
    };

    Device device = Device::firstWithUpdate;

    /** Presses Cancel on the download page once the download has shown progress. */
    bool cancelDownload = false;

    /** Presses "Done" on the results page, which ends the program. */
    bool pressDone = true;
};
