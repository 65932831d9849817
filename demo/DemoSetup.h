#pragma once

#include "sim/SimulatedDeviceConfig.h"

#include <optional>
#include <vector>

/** The world a demo run takes place in: the simulated devices on the MIDI ports, and
    how the stand-in update server answers. A plain value: start from standard() and
    change what a variant needs.
*/
struct DemoSetup
{
    enum class Catalogue
    {
        served,     // the generated catalogue, with its addresses on the loopback server
        missing,    // the server has no catalogue: its "404 Not Found" page
        corrupt     // the catalogue cut off half way
    };

    enum class Images
    {
        genuine,        // every image as the catalogue describes it
        oneTampered     // tamperedImage with its last byte changed; the catalogue still
                        // gives the genuine image's size and digest
    };

    /** The image changed by Images::oneTampered: the Hall Reverb's 1.21, the update the
        autopilot takes.
    */
    static constexpr const char* tamperedImage = "/updater/calvio/hall-reverb/hall-reverb-1.21.bin";

    /** A Calvio Hall Reverb at 1.1 with an update available, a Calvio Plate Reverb left
        waiting in update mode by an interrupted update, and a Brisma Chorus already at
        its newest firmware. With atMidiSpeed, every message takes as long as on a DIN
        MIDI cable, so programming takes a few seconds; without, no time at all.
    */
    static DemoSetup standard (bool atMidiSpeed);

    /** Makes every device refuse its fifth WriteBlock three times over, so an update
        fails part-way with "Command 0x7A failed".
    */
    void makeWritesFail();

    std::vector<SimulatedDeviceConfig> devices;
    Catalogue catalogue = Catalogue::served;
    Images images = Images::genuine;

    /** When set, every firmware image is sent up to this many bytes and then nothing
        more, as from a server that has stopped answering.
    */
    std::optional<size_t> imagesStallAfter;
};
