#include "cli/DeviceSurvey.h"

#include "catalogue/TargetsInfoDownloadThread.h"
#include "cli/StepRunner.h"
#include "cli/TerminalText.h"
#include "device/MidiTargetDevice.h"
#include "flow/ScanForDevicesThread.h"

DeviceSurvey::DeviceSurvey (MidiPortSystem& portsToScan, const ReplyTimeouts& timeoutsToUse, Console& consoleToUse)
    : ports (portsToScan),
      timeouts (timeoutsToUse),
      console (consoleToUse),
      devices (std::make_unique<juce::OwnedArray<TargetDevice>>())
{
}

DeviceSurvey::~DeviceSurvey() = default;

std::optional<UpdateOutcome> DeviceSurvey::run (const juce::StringArray& sources, const std::optional<CatalogueSigner>& signer)
{
    if (auto failure = fetchCatalogue (sources, signer))
        return failure;

    return scan();
}

std::optional<UpdateOutcome> DeviceSurvey::fetchCatalogue (const juce::StringArray& sources,
                                                       const std::optional<CatalogueSigner>& signer)
{
    TargetsInfoDownloadThread thread (sources, nullptr, &console, signer);
    const bool finished = StepRunner::run (thread);
    console.endStep();

    if (! finished)
        return UpdateOutcome::of (UpdateEnd::cancelled);

    catalogue = thread.takeCatalogue();

    if (catalogue != nullptr)
    {
        keepSource (sources);

        // Whoever is on the network path may have written it, and with it the size and
        // digest of every image: the user is told, whatever the output's format.
        if (! signer.has_value() && ! catalogue->cameFromLocalFile)
            Console::printError ("warning: this build has no catalogue key; the catalogue from "
                                 + TerminalText::visible (catalogueSource) + " was not verified");

        return std::nullopt;
    }

    return UpdateOutcome::ofCatalogueSearch (thread.getStatus(), thread.getErrorMessage());
}

// The downloader tells only whether the text came from a file or from the web, and
// every list of sources holds at most one of each.
void DeviceSurvey::keepSource (const juce::StringArray& sources)
{
    for (const auto& source : sources)
    {
        if (FileDownloader::isLocalFile (source) == catalogue->cameFromLocalFile)
        {
            catalogueSource = source.upToFirstOccurrenceOf ("?nocache=", false, false);
            break;
        }
    }

    imageSources = catalogue->cameFromLocalFile ? FileDownloader::Sources::webAndLocalFiles
                                                : FileDownloader::Sources::webOnly;
}

std::optional<UpdateOutcome> DeviceSurvey::scan()
{
    // The scanner lists the ports again as it starts: a port plugged in between would
    // shift the names shown here, never the device spoken to.
    inputNames = ports.getInputNames();
    outputNames = ports.getOutputNames();

    ScanForDevicesThread thread (*catalogue, ports, timeouts, nullptr, &console);
    const bool finished = StepRunner::run (thread);
    console.endStep();

    if (! finished)
        return UpdateOutcome::of (UpdateEnd::cancelled);

    if (auto found = thread.takeDevices())
        devices = std::move (found);

    if (devices->isEmpty())
        return UpdateOutcome::of (UpdateEnd::noDevices);

    return std::nullopt;
}

std::pair<juce::String, juce::String> DeviceSurvey::getPortNames (const TargetDevice& device) const
{
    if (const auto* midiDevice = dynamic_cast<const MidiTargetDevice*> (&device))
        return { inputNames[midiDevice->getInputIndex()], outputNames[midiDevice->getOutputIndex()] };

    return {};
}
