#pragma once

#include "flow/UpdateThread.h"

#include <vector>

/** What one complete update of the soak did, as seen from outside the program: what
    its workers left, what the host sent and reported, and what the device holds.
*/
struct SoakObservation
{
    bool catalogueFetched = false;
    int devicesFound = 0;
    juce::String deviceName;
    bool deviceWaiting = false;
    bool imageDownloaded = false;

    bool updateRan = false;
    UpdateThread::UpdateStatus status = UpdateThread::UpdateOk;
    juce::String errorMessage;
    juce::StringArray statusTexts;
    std::vector<double> fractions;
    std::vector<juce::String> programmingSends;     // as SoakStep::label writes them

    bool workersEnded = true;
    int portsOpenAfterScan = 0;
    int portsOpenAfterUpdate = 0;

    bool deviceVanished = false;
    bool deviceInUpdateMode = false;
    std::vector<std::vector<juce::uint8>> regionFlash;   // each region's bytes, in map order
};
