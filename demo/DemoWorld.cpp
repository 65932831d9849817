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
    serveImages (setup);
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

    // Signed as served, so that a cut-off catalogue still shows its parse error.
    if (catalogue == DemoSetup::Catalogue::corrupt)
        text = text.substring (0, text.length() / 2);

    const auto signature = signingKey.sign ({ text.toRawUTF8(), text.getNumBytesAsUTF8() },
                                            CatalogueSignature::Claims::issued (ServedCatalogue::path,
                                                                                juce::Time::getCurrentTime(), 30));
    server.setAnswer (ServedCatalogue::path, LoopbackServer::Answer::withText (text, 200, "text/xml"));
    server.setAnswer (juce::String (ServedCatalogue::path) + ".sig", LoopbackServer::Answer::withText (signature.toFileText()));
}

// Only a variant needs answers of its own; otherwise the folder serves the images.
void DemoWorld::serveImages (const DemoSetup& setup)
{
    if (setup.images == DemoSetup::Images::genuine && ! setup.imagesStallAfter.has_value())
        return;

    for (const auto& entry : juce::RangedDirectoryIterator (contentFolder(), true, "*.bin"))
    {
        const auto path = "/" + entry.getFile().getRelativePathFrom (contentFolder());
        juce::MemoryBlock image;
        entry.getFile().loadFileAsData (image);

        // The last byte is data, so the image still reads as one: only its digest tells.
        if (setup.images == DemoSetup::Images::oneTampered && path == DemoSetup::tamperedImage && image.getSize() > 0)
            image[image.getSize() - 1] = static_cast<char> (image[image.getSize() - 1] ^ 0x01);

        auto answer = LoopbackServer::Answer::withData (image);

        if (setup.imagesStallAfter.has_value())
            answer.stallAfter = *setup.imagesStallAfter;

        server.setAnswer (path, std::move (answer));
    }
}

UpdateEnvironment DemoWorld::makeEnvironment (std::function<void()> quit)
{
    // The simulated devices are waited for as real ones are, so the demo shows the
    // program's own pauses.
    return { ports,
             ReplyTimeouts {},
             [this] { return targetsSources (juce::Time::getCurrentTime()); },
             CatalogueSigner (signingKey.getPublicKey(), acceptedRecord.getFile()),
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
        if (const auto* device = findDevice (port->name))
            return device;

    return nullptr;
}

const SimulatedDevice* DemoWorld::findDevice (const juce::String& portName) const
{
    for (const auto& device : devices)
        if (device->getConfig().portName == portName)
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

std::optional<CatalogueSigningKey> DemoWorld::demoSigningKey()
{
    return CatalogueSigningKey::fromBase64 (juce::File (QUILLON_DEMO_CATALOGUE_KEY).loadFileAsString());
}
