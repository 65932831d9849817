#pragma once

#include "cli/Console.h"
#include "catalogue/CatalogueSigner.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsInfo.h"
#include "device/ReplyTimeouts.h"
#include "device/TargetDevice.h"
#include "device/ports/MidiPortSystem.h"
#include "flow/UpdateOutcome.h"

#include <optional>

/** The first steps of every command, as the wizard's scan page takes them: fetch the
    catalogue, then look for its devices on the MIDI ports, each on its own worker.
    Main thread.
*/
class DeviceSurvey
{
public:
    /** The ports must outlive the survey and the devices it finds. */
    DeviceSurvey (MidiPortSystem& ports, const ReplyTimeouts& timeouts, Console& console);
    ~DeviceSurvey();

    /** Tries sources in order for the catalogue, then scans. Nothing when devices were
        found; else how the command ends (no catalogue, no devices, or Ctrl-C).
    */
    std::optional<UpdateOutcome> run (const juce::StringArray& sources, const std::optional<CatalogueSigner>& signer);

    /** The devices found, numbered from 1 in this order by the commands. */
    const juce::OwnedArray<TargetDevice>& getDevices() const noexcept { return *devices; }

    /** The MIDI ports as they were listed for the scan. */
    const juce::StringArray& getInputNames() const noexcept  { return inputNames; }
    const juce::StringArray& getOutputNames() const noexcept { return outputNames; }

    /** The names of the input and the output device was found on. */
    std::pair<juce::String, juce::String> getPortNames (const TargetDevice& device) const;

    /** Where the catalogue came from, without the server's cache-busting query. */
    const juce::String& getCatalogueSource() const noexcept { return catalogueSource; }

    /** Only a catalogue from a file on this computer may name images on it. */
    FileDownloader::Sources getImageSources() const noexcept { return imageSources; }

private:
    std::optional<UpdateOutcome> fetchCatalogue (const juce::StringArray& sources, const std::optional<CatalogueSigner>& signer);
    std::optional<UpdateOutcome> scan();
    void keepSource (const juce::StringArray& sources);

    MidiPortSystem& ports;
    const ReplyTimeouts timeouts;
    Console& console;

    std::unique_ptr<TargetsInfo> catalogue;
    std::unique_ptr<juce::OwnedArray<TargetDevice>> devices;
    juce::StringArray inputNames;
    juce::StringArray outputNames;
    juce::String catalogueSource;
    FileDownloader::Sources imageSources = FileDownloader::Sources::webOnly;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceSurvey)
};
