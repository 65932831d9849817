#include "tests/soak/SoakWorld.h"

#include "catalogue/TargetsInfoDownloadThread.h"
#include "device/DeviceCommand.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "tests/soak/SoakStep.h"
#include "tests/support/ReportRecorder.h"
#include "tests/wizard/WizardWorld.h"
#include "flow/DownloadImageThread.h"
#include "flow/ScanForDevicesThread.h"

namespace
{
    // Never reached in a passing run, whose longest step waits out two write time-outs.
    constexpr int workerTimeoutMs = 60000;

    // How long the device may take to finish with what the host sent it.
    constexpr int settleTimeoutMs = 5000;

    const juce::String imagePath ("/soak/image.bin");
    const juce::String absentImagePath ("/soak/absent.bin");

    bool runToEnd (juce::Thread& worker)
    {
        worker.startThread();
        return worker.waitForThreadToExit (workerTimeoutMs);
    }
}

SoakWorld::SoakWorld()
    : folder (folderHolder.getFile())
{
    folder.createDirectory();
}

SoakWorld::~SoakWorld()
{
    folder.deleteRecursively();
}

SoakObservation SoakWorld::run (const SoakScenario& scenario)
{
    const auto& name = scenario.device.portName;

    if (! ports.getInputNames().contains (name))
    {
        ports.addInput (name);
        ports.addOutput (name);
    }

    serve (scenario);
    SimulatedDevice simulated (ports, scenario.device);
    SoakObservation seen;
    messagesSent = 0;

    if (const auto catalogue = fetchCatalogue (seen))
    {
        const auto devices = scan (*catalogue, scenario.replyTimeouts, seen);

        if (devices != nullptr && ! devices->isEmpty())
        {
            auto& device = *devices->getFirst();
            seen.deviceName = device.getDeviceName();
            seen.deviceWaiting = device.isWaitingForUpdate();

            if (const auto* revision = device.findNewestUpdate())
                if (const auto image = download (revision->imageUrl, seen))
                    program (scenario, device, *image, seen);
        }
    }

    readDevice (scenario, simulated, seen);
    return seen;
}

std::unique_ptr<TargetsInfo> SoakWorld::fetchCatalogue (SoakObservation& seen)
{
    const auto source = folder.getChildFile ("UpdateTargets.xml").getFullPathName();
    TargetsInfoDownloadThread thread (juce::StringArray (source), nullptr, nullptr);
    seen.workersEnded = runToEnd (thread) && seen.workersEnded;

    auto catalogue = thread.takeCatalogue();
    seen.catalogueFetched = catalogue != nullptr;
    return catalogue;
}

std::unique_ptr<juce::OwnedArray<TargetDevice>> SoakWorld::scan (const TargetsInfo& catalogue, const ReplyTimeouts& timeouts,
                                                                SoakObservation& seen)
{
    ScanForDevicesThread thread (catalogue, countingPorts, timeouts, nullptr, nullptr);
    seen.workersEnded = runToEnd (thread) && seen.workersEnded;

    auto devices = thread.takeDevices();
    seen.devicesFound = devices != nullptr ? devices->size() : 0;
    seen.portsOpenAfterScan = countingPorts.getOpenPorts();
    messagesSent += (int) countingPorts.takeSentMessages().size();
    return devices;
}

std::unique_ptr<juce::MemoryBlock> SoakWorld::download (const juce::String& url, SoakObservation& seen)
{
    DownloadImageThread thread (url, FileDownloader::Sources::webAndLocalFiles, nullptr, nullptr);
    seen.workersEnded = runToEnd (thread) && seen.workersEnded;

    auto image = thread.takeImage();
    seen.imageDownloaded = image != nullptr;
    return image;
}

void SoakWorld::program (const SoakScenario& scenario, TargetDevice& device,
                         const juce::MemoryBlock& image, SoakObservation& seen)
{
    if (scenario.hostFault == SoakScenario::HostFault::portsRefuse)
        flakyPorts.failInputsAfter (scenario.inputOpeningsLeft);

    ReportRecorder reporter;
    juce::MemoryInputStream stream (image, false);

    {
        UpdateThread thread (device, stream, nullptr, &reporter, &reporter);
        seen.updateRan = true;
        seen.workersEnded = runToEnd (thread) && seen.workersEnded;
        seen.status = thread.getStatus();
        seen.errorMessage = thread.getErrorMessage();
    }

    flakyPorts.failInputsAfter (-1);
    seen.statusTexts = reporter.getStatusTexts();
    seen.fractions = reporter.getFractions();
    seen.portsOpenAfterUpdate = countingPorts.getOpenPorts();

    const auto sent = countingPorts.takeSentMessages();
    messagesSent += (int) sent.size();
    seen.programmingSends = labelsOf (sent);
}

void SoakWorld::serve (const SoakScenario& scenario)
{
    // An HTTP fetch costs the loopback server a tenth of a second, so only half the
    // images come that way; the catalogue always lies beside the program.
    const auto missing = scenario.hostFault == SoakScenario::HostFault::imageMissing;
    const auto imageFile = folder.getChildFile (missing ? "absent.bin" : "image.bin");
    const auto imageUrl = scenario.imageOverHttp ? server.getUrl (missing ? absentImagePath : imagePath)
                                                 : imageFile.getFullPathName();
    const auto image = scenario.makeImageFile();
    const auto catalogue = CatalogueXml().addProduct (scenario.device, "Soak Effect", { { "9.9", imageUrl, {} } });

    server.setAnswer (imagePath, LoopbackServer::Answer::withData (image));
    folder.getChildFile ("image.bin").replaceWithData (image.getData(), image.getSize());
    folder.getChildFile ("UpdateTargets.xml").replaceWithText (catalogue.toString());
}

void SoakWorld::readDevice (const SoakScenario& scenario, const SimulatedDevice& simulated, SoakObservation& seen)
{
    // After a stray message the host may take a stale acknowledgement for the last
    // block's and finish while the device still writes it.
    if (! simulated.waitUntilVanished (0))
        simulated.getTranscript().waitUntilHandled (messagesSent, settleTimeoutMs);

    seen.deviceVanished = simulated.waitUntilVanished (0);
    seen.deviceInUpdateMode = simulated.isInUpdateMode();

    for (const auto& region : scenario.device.memoryMap.regions)
        seen.regionFlash.push_back (simulated.readFlash (region.start, region.length));
}

std::vector<juce::String> SoakWorld::labelsOf (const std::vector<CountingPortSystem::Message>& messages)
{
    std::vector<juce::String> labels;

    for (const auto& message : messages)
    {
        pex::Super7RxSysexMsg received;
        received.Append (message.data(), (juce::uint32) message.size());

        SoakStep step;
        step.command = received.GetCommand();

        if (step.command == DeviceCommand::WriteBlock)
            step.address = received.ReadDWord();

        labels.push_back (step.label());
    }

    return labels;
}
