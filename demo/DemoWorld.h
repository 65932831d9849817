#pragma once

#include "catalogue/CatalogueSigningKey.h"
#include "demo/DemoSetup.h"
#include "device/TargetDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "server/LoopbackServer.h"
#include "sim/SimulatedDevice.h"
#include "wizard/UpdateEnvironment.h"

/** Everything around the wizard in the demo: in-process MIDI ports with simulated
    devices plugged into them, and a loopback HTTP server standing in for the update
    server, serving the folder the build generates for it.

    The served catalogue names this world's server, so the build's signature no longer
    covers it: the world signs what it serves with the demo's key from the build folder,
    and the wizard requires that key's signature, as a program built with the vendor's
    key requires the vendor's.

    Made and used on the message thread; the devices and the server answer on threads
    of their own until it is destroyed. A wizard wired to it must go first.
*/
class DemoWorld
{
public:
    explicit DemoWorld (const DemoSetup& setup);
    ~DemoWorld();

    /** What the wizard is handed: these ports, targetsSources() at the time of each
        scan, the demo's public key as the catalogue's signer (with a record of the
        serials taken that lasts as long as this world), and quit for "Done".
    */
    UpdateEnvironment makeEnvironment (std::function<void()> quit);

    /** The one place the demo's wizard looks for the targets file: this world's server,
        with the cache-busting query for localTime. Never a file beside the program.
    */
    juce::StringArray targetsSources (juce::Time localTime) const;

    /** The simulated device plugged into one of product's ports, or nullptr. */
    const SimulatedDevice* findDevice (const TargetProduct& product) const;

    /** The simulated device plugged into the port of this name, or nullptr. */
    const SimulatedDevice* findDevice (const juce::String& portName) const;

    /** Whether the simulated device behind device holds the image that revision names
        (on this world's server, or in a local file), inside the regions of its memory map.
    */
    bool flashHoldsImage (const TargetDevice& device, const TargetRevision& revision) const;

    /** The served file behind an address of this world's server; a file that does not
        exist for any other address.
    */
    juce::File fileFor (const juce::String& url) const;

    /** The folder the build generates for the update server. */
    static juce::File contentFolder();

    /** The key the build made for the demo's catalogues; nothing when the build folder
        lacks it.
    */
    static std::optional<CatalogueSigningKey> demoSigningKey();

private:
    void plugIn (const SimulatedDeviceConfig& config);
    void serveCatalogue (DemoSetup::Catalogue catalogue);
    void serveImages (const DemoSetup& setup);

    VirtualMidiPortSystem ports;
    LoopbackServer server;

    // Without the build's key, one that signed nothing: the catalogue is then refused
    // as unsigned rather than taken without a signature.
    const CatalogueSigningKey signingKey { demoSigningKey().value_or (CatalogueSigningKey::generate()) };

    // The serials this world's wizard has taken: its own, never the user's record.
    const juce::TemporaryFile acceptedRecord;
    std::vector<std::unique_ptr<SimulatedDevice>> devices;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DemoWorld)
};
