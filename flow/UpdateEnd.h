#pragma once

/** Every way a run of an update can end, each step's ways apart: the one thing the
    wizard picks its results page from and the client its exit code.
*/
enum class UpdateEnd
{
    succeeded,
    catalogueUnreachable,       // no source gave a catalogue
    catalogueInvalid,           // the catalogue could not be read; details say why
    catalogueEmpty,             // the catalogue lists no product
    noDevices,                  // no device of the catalogue answered (or none by the name asked for)
    noUpdate,                   // the device has no update (or not the version asked for)
    imageUnreachable,           // the image could not be downloaded, or is no firmware image
    imageRefused,               // too large, too slow, at an address not allowed, or not the
                                // catalogue's image; details say which
    programmingFailed,          // the device failed, or the image could not be read; details say how
    programmingUnfinished,      // the device did not finish in time and was given up on
    cancelled                   // stopped by the user (Cancel, Ctrl-C, not confirmed)
};
