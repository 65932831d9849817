#include "sequencer/broker/BrokerLog.h"
#include "sequencer/devices/SequencerUsbClient.h"

#include <gtest/gtest.h>

#include <functional>

TEST (BrokerLog, EachChangeTheKernelShowsIsOneLineWithTheClientsNamesMadeVisible)
{
    SequencerKernel kernel;
    juce::TemporaryFile file;
    BrokerLog log (file.getFile());
    std::unique_ptr<SequencerUsbClient> device;

    const auto showChanges = [&]
    {
        log.showChanges (kernel.clients(), kernel.subscriptions());
    };

    showChanges();

    // As the log writes the name: ESC and the line break as their Control Pictures.
    const auto shown = juce::String::fromUTF8 ("Evil\xe2\x90\x9b[2J\xe2\x90\x8a" "client 99 left: x");

    // Each step: what happens, and the lines the log gains.
    const std::vector<std::pair<std::function<void()>, juce::StringArray>> steps {
        { [&] { device = std::make_unique<SequencerUsbClient> (kernel, "Evil\x1b[2J\nclient 99 left: x", 1); },
          { "client 20 joined: " + shown, "port 20:0 made: " + shown + " MIDI 1" } },
        { [&] { kernel.subscribe (20, { { 20, 0 }, { 14, 0 } }); },
          { "subscribed 20:0 -> 14:0" } },
        { [&] { device->unplug(); },
          { "unsubscribed 20:0 -> 14:0",
            "client 20 left: " + shown } },
        { [] {}, {} }
    };

    for (size_t i = 0; i < steps.size(); ++i)
    {
        const auto linesBefore = juce::StringArray::fromLines (file.getFile().loadFileAsString().trimEnd()).size();
        steps[i].first();
        showChanges();

        auto lines = juce::StringArray::fromLines (file.getFile().loadFileAsString().trimEnd());
        lines.removeRange (0, linesBefore);
        EXPECT_EQ (lines, steps[i].second) << "step " << i;
    }

    EXPECT_EQ (BrokerLog::userClients (kernel.clients()), "none");
}
