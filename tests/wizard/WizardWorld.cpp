#include "tests/wizard/WizardWorld.h"

#include "catalogue/TargetsSources.h"
#include "tests/device/ImageFileBuilder.h"

CatalogueXml& CatalogueXml::addProduct (const SimulatedDeviceConfig& device, const juce::String& productName,
                                        const std::vector<Revision>& revisions,
                                        const juce::String& specialPreInstructions)
{
    juce::XmlElement brand ("Brand");
    brand.setAttribute ("Name", device.brand == TargetBrand::Brisma ? "Brisma" : "Calvio");

    auto* family = brand.createNewChildElement ("Family");
    family->setAttribute ("FamilyID", "0x" + juce::String::toHexString (device.familyId));

    auto* product = family->createNewChildElement ("Product");
    product->setAttribute ("Name", productName);
    product->setAttribute ("ProductID", "0x" + juce::String::toHexString (device.productId));
    product->setAttribute ("UpdateProductID", "0x" + juce::String::toHexString (device.updateProductId));

    if (specialPreInstructions.isNotEmpty())
        product->setAttribute ("SpecialPreInstructions", specialPreInstructions);

    auto* revisionList = product->createNewChildElement ("Revisions");

    for (const auto& revision : revisions)
    {
        auto* element = revisionList->createNewChildElement ("Revision");
        element->setAttribute ("Version", revision.version);
        element->setAttribute ("ReleaseDate", "1 Dec 2026");
        element->setAttribute ("ImageUrl", revision.imageUrl);
        element->setAttribute ("ReleaseNotesUrl", revision.imageUrl + ".html");

        if (revision.specialPostInstructions.isNotEmpty())
            element->setAttribute ("SpecialPostInstructions", revision.specialPostInstructions);

        if (revision.size.isNotEmpty())
            element->setAttribute ("Size", revision.size);

        if (revision.sha256.isNotEmpty())
            element->setAttribute ("Sha256", revision.sha256);
    }

    product->createNewChildElement ("Ports")->createNewChildElement ("Port")->setAttribute ("Name", device.portName);

    brands << brand.toString (juce::XmlElement::TextFormat().withoutHeader());
    return *this;
}

juce::String CatalogueXml::toString() const
{
    return "<?xml version=\"1.0\"?>\n<Config>\n" + brands + "</Config>\n";
}

//==============================================================================
WizardWorld::WizardWorld()
    : programFolder (programFolderHolder.getFile())
{
    programFolder.createDirectory();
}

WizardWorld::~WizardWorld()
{
    wizard.reset();
    devices.clear();
    programFolder.deleteRecursively();
}

SimulatedDeviceConfig WizardWorld::reverbDevice()
{
    SimulatedDeviceConfig config;
    config.portName = "Test Reverb";
    config.brand = TargetBrand::Calvio;
    config.familyId = 0x05;
    config.productId = 0x02;
    config.updateProductId = 0x02;
    config.name = "Studio A";
    config.modelText = "TR-1";
    config.versionB0 = 1;
    config.versionB1 = 0x00;
    config.memoryMap = SimulatedMemoryMap::covering (256, { { 0, 0x2000 } });
    return config;
}

SimulatedDevice& WizardWorld::addDevice (const SimulatedDeviceConfig& config)
{
    if (! ports.getInputNames().contains (config.portName))
        ports.addInput (config.portName);

    if (! ports.getOutputNames().contains (config.portName))
        ports.addOutput (config.portName);

    devices.push_back (std::make_unique<SimulatedDevice> (ports, config));
    return *devices.back();
}

void WizardWorld::serveCatalogue (const juce::String& xml)
{
    servedCatalogue = xml;
    server.setAnswer ("/updater/common/config/UpdateTargets.xml", LoopbackServer::Answer::withText (xml, 200, "text/xml"));
}

juce::String WizardWorld::serve (const juce::String& path, LoopbackServer::Answer answer)
{
    server.setAnswer (path, std::move (answer));
    return server.getUrl (path);
}

LoopbackServer::Answer WizardWorld::stallingAfter (const juce::MemoryBlock& body, size_t bytes)
{
    auto answer = LoopbackServer::Answer::withData (body);
    answer.stallAfter = bytes;
    return answer;
}

bool WizardWorld::serverWasAskedFor (const juce::String& path) const
{
    for (const auto& request : server.getRequests())
        if (request.target.startsWith (path))
            return true;

    return false;
}

juce::MemoryBlock WizardWorld::makeImage()
{
    return ImageFileBuilder()
        .addRecord (0x0000, 0x800)
        .addRecord (0x1000, ImageFileBuilder::Bytes (0x200, 0xff))
        .addRecord (0x1200, 0x100)
        .getFile();
}

SimulatedDevice& WizardWorld::setUpReverbScene (const SimulatedDeviceConfig& config,
                                                const juce::String& postInstructions,
                                                const juce::String& preInstructions)
{
    auto& device = addDevice (config);
    const auto oldImage = serve ("/images/reverb-1.0.bin", LoopbackServer::Answer::withData (makeImage()));
    const auto newImage = serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (makeImage()));

    serveCatalogue (CatalogueXml().addProduct (device.getConfig(), "Test Reverb",
                                               { { "1.0", oldImage, {} }, { "1.5", newImage, postInstructions } },
                                               preInstructions)
                        .toString());
    return device;
}

UpdateWizard& WizardWorld::makeWizard (const ReplyTimeouts& timeouts)
{
    const auto host = "127.0.0.1:" + juce::String (server.getPort());

    wizard = std::make_unique<UpdateWizard> (UpdateEnvironment {
        ports,
        timeouts,
        [this, host] { return TargetsSources::build (programFolder, host, juce::Time::getCurrentTime()); },
        catalogueSigner,
        [this] { ++quitRequests; } });

    return *wizard;
}
