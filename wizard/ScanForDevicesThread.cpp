#include "wizard/ScanForDevicesThread.h"

#include "device/MidiDeviceScanner.h"
#include "wizard/WorkerTimeouts.h"

ScanForDevicesThread::ScanForDevicesThread (const TargetsInfo& catalogueToScan, MidiPortSystem& portsToScan,
                                            juce::Component* page, StatusReporter* reporterToUse)
    : juce::Thread ("Scan for devices"),
      catalogue (catalogueToScan),
      ports (portsToScan),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr),
      reporter (reporterToUse)
{
}

ScanForDevicesThread::~ScanForDevicesThread()
{
    stopThread (WorkerTimeouts::stopMs);
}

void ScanForDevicesThread::run()
{
    if (reporter != nullptr)
        reporter->reportStatus ("Identifying devices...");

    devices = MidiDeviceScanner (ports).findDevices (catalogue.products);

    if (pageState != nullptr)
        pageState->exitModalState (1);
}
