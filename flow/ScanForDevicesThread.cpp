#include "flow/ScanForDevicesThread.h"

#include "device/MidiDeviceScanner.h"

ScanForDevicesThread::ScanForDevicesThread (const TargetsInfo& catalogueToScan, MidiPortSystem& portsToScan,
                                            const ReplyTimeouts& timeoutsToUse,
                                            juce::Component* page, StatusReporter* reporterToUse)
    : PageWorker ("Scan for devices", page),
      catalogue (catalogueToScan),
      ports (portsToScan),
      timeouts (timeoutsToUse),
      reporter (reporterToUse)
{
}

ScanForDevicesThread::~ScanForDevicesThread()
{
    // Here rather than in the base, whose destructor runs after the members the
    // thread uses are gone; every wait of the worker wakes up soon after this.
    stop();
}

void ScanForDevicesThread::work()
{
    if (reporter != nullptr)
        reporter->reportStatus ("Identifying devices...");

    devices = MidiDeviceScanner (ports, timeouts).findDevices (catalogue.products);
}
