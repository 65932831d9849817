#include "demo/SnapshotScene.h"

namespace
{
    // The tour goes on after each run, so "Done" is never pressed.
    AutopilotRoute routeTo (AutopilotRoute::Device device, bool cancelDownload = false)
    {
        return { device, cancelDownload, false };
    }

    DemoSetup standardWith (const std::function<void (DemoSetup&)>& change)
    {
        auto setup = DemoSetup::standard (false);
        change (setup);
        return setup;
    }
}

std::vector<SnapshotScene> SnapshotScene::tour()
{
    using Device = AutopilotRoute::Device;

    // The first run goes at the pace of a MIDI cable, so that the programming page
    // stays long enough to be photographed while its bar fills.
    // clang-format off
    return {
        { DemoSetup::standard (true), routeTo (Device::firstWithUpdate),
          { PageKind::welcome, PageKind::scan, PageKind::selectDevice, PageKind::versionFilter,
            PageKind::selectUpdate, PageKind::confirm, PageKind::programming },
          "Update Succeeded" },
        { standardWith ([] (DemoSetup& s) { s.makeWritesFail(); }), routeTo (Device::firstWithInstructions),
          { PageKind::instructions }, "Update Failed" },
        { standardWith ([] (DemoSetup& s) { s.images = DemoSetup::Images::oneTampered; }), routeTo (Device::firstWithUpdate),
          {}, "Update Failed", "tampered-image" },
        { standardWith ([] (DemoSetup& s) { s.imagesStallAfter = 1024; }), routeTo (Device::firstWithUpdate, true),
          { PageKind::download }, "Update Cancelled" },
        { DemoSetup::standard (false), routeTo (Device::firstUpToDate), {}, "No Updates Were Found" },
        { standardWith ([] (DemoSetup& s) { s.devices.clear(); }), routeTo (Device::firstWithUpdate), {}, "No Devices Were Found" },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::missing; }), routeTo (Device::firstWithUpdate),
          {}, "Unable to Connect" },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::corrupt; }), routeTo (Device::firstWithUpdate),
          {}, "Invalid Targets File" }
    };
    // clang-format on
}
