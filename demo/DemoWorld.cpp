#include "demo/DemoWorld.h"

#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsSources.h"
#include "demo/FlashCheck.h"
#include "demo/ServedCatalogue.h"

DemoWorld::DemoWorld (const DemoSetup& setup)
{
    for (const auto& config : setup.devices)
        plugIn (config);

    serveCatalogue (setup.catalogue);

    if (setup.imagesStallAfter.has_value())
        stallImages (*setup.imagesStallAfter);
}

DemoWorld::~DemoWorld() = default;

void DemoWorld::plugIn (const SimulatedDeviceConfig& config)
{
    ports.addInput (config.portName);
    ports.addOutput (config.portName);
    devices.push_back (std::make_unique<SimulatedDevice> (ports, config));
}

void DemoWorld::serveCatalogue (DemoSetup::Catalogue catalogue)
{
    // Without the folder the server has nothing at the catalogue's path and answers
    // with its "404 Not Found" page.
    if (catalogue == DemoSetup::Catalogue::missing)
        return;

    server.serveFolder (contentFolder());

    const auto generated = contentFolder().getChildFile (juce::String (ServedCatalogue::path).substring (1));
    auto text = ServedCatalogue::moveAddresses (generated.loadFileAsString(), QUILLON_UPDATE_HOST, server.getUrl ("/"));

    if (catalogue == DemoSetup::Catalogue::corrupt)
        text = text.substring (0, text.length() / 2);

    server.setAnswer (ServedCatalogue::path, LoopbackServer::Answer::withText (text, 200, "text/xml"));
}

void DemoWorld::stallImages (size_t bytes)
{
    for (const auto& entry : juce::RangedDirectoryIterator (contentFolder(), true, "*.bin"))
    {
        juce::MemoryBlock image;
        entry.getFile().loadFileAsData (image);

        auto answer = LoopbackServer::Answer::withData (image);
        answer.stallAfter = bytes;
        server.setAnswer ("/" + entry.getFile().getRelativePathFrom (contentFolder()), std::move (answer));
    }
}

UpdateEnvironment DemoWorld::makeEnvironment (std::function<void()> quit)
{
    // The simulated devices are waited for as real ones are, so the demo shows the
    // program's own pauses.
    return { ports,
             ReplyTimeouts {},
             [this] { return targetsSources (juce::Time::getCurrentTime()); },
             {},
             std::move (quit) };
}

juce::StringArray DemoWorld::targetsSources (juce::Time localTime) const
{
    return { server.getUrl (ServedCatalogue::path) + "?nocache="
             + TargetsSources::escapeQueryValue (TargetsSources::formatTime (localTime)) };
}

const SimulatedDevice* DemoWorld::findDevice (const TargetProduct& product) const
{
    for (const auto* port : product.ports)
        for (const auto& device : devices)
            if (device->getConfig().portName == port->name)
                return device.get();

    return nullptr;
}

bool DemoWorld::flashHoldsImage (const TargetDevice& device, const TargetRevision& revision) const
{
    const auto* simulated = findDevice (device.product);
    const auto file = FileDownloader::isLocalFile (revision.imageUrl) ? juce::File (revision.imageUrl)
                                                                      : fileFor (revision.imageUrl);
    juce::MemoryBlock image;

    if (simulated == nullptr || ! file.loadFileAsData (image))
        return false;

    return FlashCheck::matches (image, simulated->getConfig().memoryMap.regions,
                                [simulated] (juce::uint32 address, juce::uint32 length)
                                { return simulated->readFlash (address, length); });
}

juce::File DemoWorld::fileFor (const juce::String& url) const
{
    const auto base = server.getUrl ("/");

    if (! url.startsWith (base))
        return contentFolder().getChildFile ("no such file");

    return contentFolder().getChildFile (url.substring (base.length()));
}

juce::File DemoWorld::contentFolder()
{
    return juce::File (QUILLON_SERVER_CONTENT_DIR);
}
