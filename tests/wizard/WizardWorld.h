#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "server/LoopbackServer.h"
#include "sim/SimulatedDevice.h"
#include "wizard/UpdateWizard.h"

#include <vector>

/** Builds the text of a targets file, one product at a time. */
class CatalogueXml
{
public:
    struct Revision
    {
        juce::String version;
        juce::String imageUrl;
        juce::String specialPostInstructions;
        juce::String size = {};     // the image's Size and Sha256 attributes; empty: not given
        juce::String sha256 = {};
    };

    CatalogueXml& addProduct (const SimulatedDeviceConfig& device, const juce::String& productName,
                              const std::vector<Revision>& revisions,
                              const juce::String& specialPreInstructions = {});

    juce::String toString() const;

private:
    juce::String brands;
};

/** Everything around a wizard under test: virtual MIDI ports with simulated devices on
    them, a loopback update server, and an empty folder in place of the program's own.
    Message thread.
*/
class WizardWorld
{
public:
    WizardWorld();
    ~WizardWorld();

    /** A Calvio device at version 1.0 on port "Test Reverb", that acknowledges the switch
        to update mode, with one 8 KiB region written in 256-byte blocks.
    */
    static SimulatedDeviceConfig reverbDevice();

    /** Adds the device's ports if they are new, and plugs the device in. */
    SimulatedDevice& addDevice (const SimulatedDeviceConfig& config);

    /** Serves text as the catalogue the wizard asks the server for. */
    void serveCatalogue (const juce::String& xml);

    /** Serves an answer at path and returns its address. */
    juce::String serve (const juce::String& path, LoopbackServer::Answer answer);

    /** An answer with this body that stops sending, without closing, after bytes. */
    static LoopbackServer::Answer stallingAfter (const juce::MemoryBlock& body, size_t bytes);

    /** Whether the wizard has asked the server for an address starting with path. */
    bool serverWasAskedFor (const juce::String& path) const;

    /** An image of two records in the first region: 0x800 pattern bytes at 0, then 0x200
        erased bytes and 0x100 pattern bytes from 0x1000 on.
    */
    static juce::MemoryBlock makeImage();

    /** The usual scene: a reverb device (by default reverbDevice()), and a catalogue
        offering it 1.0 and 1.5.
    */
    SimulatedDevice& setUpReverbScene (const SimulatedDeviceConfig& device = reverbDevice(),
                                       const juce::String& postInstructions = {},
                                       const juce::String& preInstructions = {});

    /** A wizard on this world whose devices wait for their replies as timeouts says. */
    UpdateWizard& makeWizard (const ReplyTimeouts& timeouts = {});

    int getQuitRequests() const noexcept { return quitRequests; }

    juce::TemporaryFile programFolderHolder;
    const juce::File programFolder;
    LoopbackServer server;
    VirtualMidiPortSystem ports;
    std::vector<std::unique_ptr<SimulatedDevice>> devices;
    std::unique_ptr<UpdateWizard> wizard;

    /** The text serveCatalogue() serves. */
    juce::String servedCatalogue;

    /** The key the wizards made from now on require of the server's catalogue. */
    std::optional<CatalogueSigner> catalogueSigner;

private:
    int quitRequests = 0;
};
