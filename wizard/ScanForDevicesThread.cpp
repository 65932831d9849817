#include "wizard/ScanForDevicesThread.h"

#include "device/MidiDeviceScanner.h"

ScanForDevicesThread::ScanForDevicesThread (const TargetsInfo& catalogueToScan, MidiPortSystem& portsToScan,
                                            const ReplyTimeouts& timeoutsToUse,
                                            juce::Component* page, StatusReporter* reporterToUse)
    : juce::Thread ("Scan for devices"),
      catalogue (catalogueToScan),
      ports (portsToScan),
      timeouts (timeoutsToUse),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr),
      reporter (reporterToUse)
{
}

ScanForDevicesThread::~ScanForDevicesThread()
{
    // Never killed: every wait of the worker wakes up soon after this.
    signalThreadShouldExit();
    waitForThreadToExit (-1);
}

void ScanForDevicesThread::run()
{
    if (reporter != nullptr)
        reporter->reportStatus ("Identifying devices...");

    devices = MidiDeviceScanner (ports, timeouts).findDevices (catalogue.products);

    if (pageState != nullptr)
        pageState->exitModalState (1);
}
