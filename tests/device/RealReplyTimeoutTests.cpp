#include "device/DeviceCommand.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/SimulatedTargetTest.h"

#include <future>

// The waits real devices are given, each held against a device that leaves that one
// request unanswered: the host gives up after the request's own time-out and not
// before. Every other test waits less; these are the only real seconds in the suite,
// so the rows run side by side, each with ports of its own, and the table takes as
// long as its longest wait.
namespace
{
    enum class Step
    {
        identify,
        readVersion,
        update
    };

    struct SilenceCase
    {
        const char* request;
        int realTimeoutMs;
        Step step;
        juce::uint8 unanswered;         // the command the device leaves unanswered; 0: none
        bool modelAnswersTwice;         // the host waits for a second identity answer that never comes
        const char* outcome;
    };

    constexpr auto noResponse = "host 0: No reponse was received from the device";

    // The switch into update mode may go unanswered, so that row's update still succeeds.
    const SilenceCase silenceCases[] = {
        { "identity",        500,  Step::identify,    DeviceCommand::IdentityRequest,  false, noResponse },
        { "secondIdentity",  500,  Step::identify,    0,                               true,  noResponse },
        { "version",         1000, Step::readVersion, DeviceCommand::VersionRequest,   false, noResponse },
        { "enterUpdateMode", 8000, Step::update,      DeviceCommand::EnterUpdateMode,  false, "" },
        { "memoryMap",       1000, Step::update,      DeviceCommand::MemoryMapRequest, false, noResponse },
        { "prepareWrite",    1000, Step::update,      DeviceCommand::PrepareWrite,     false, noResponse },
        { "writeBlock",      8000, Step::update,      DeviceCommand::WriteBlock,       false, noResponse }
    };

    // What the host may take beyond the time-out: the exchanges answered before the
    // silent one, and the scheduling of a loaded machine under a sanitizer. Never as
    // much as the step to the next real value, so a row given another request's wait
    // fails, yet generous where the waits are long.
    double latestEndMs (const SilenceCase& testCase)
    {
        return testCase.realTimeoutMs + std::max (500.0, testCase.realTimeoutMs / 2.0);
    }

    struct Measured
    {
        std::string outcome;
        double elapsedMs = 0.0;
    };

    class RealReplyTimeouts : public SimulatedTargetTest
    {
    protected:
        /** A pedal silent as testCase says, on ports of its own, and the host's device for it. */
        struct SilentPedal
        {
            explicit SilentPedal (const SilenceCase& testCase)
                : config (configFor (testCase))
            {
                ports.addInput (config.portName);
                ports.addOutput (config.portName);
                simulated = std::make_unique<SimulatedDevice> (ports, config);
                device = std::make_unique<MidiTargetDevice> (productOf (config), ports, ReplyTimeouts {});
                device->setPortIndices (0, 0);
            }

            Measured measure (Step step)
            {
                const auto image = ImageFileBuilder().addRecord (0, 0x100).getFile();
                const auto start = juce::Time::getMillisecondCounterHiRes();

                auto outcome = devicetest::thrownBy ([&]
                {
                    if (step == Step::update)
                    {
                        juce::MemoryInputStream stream (image, false);
                        device->update (stream, nullptr, nullptr);
                        return;
                    }

                    // Ports that fail to open show as the exchange's own "comm" outcome.
                    device->openPorts();
                    step == Step::identify ? device->identify() : device->readVersion();
                });

                return { std::move (outcome), juce::Time::getMillisecondCounterHiRes() - start };
            }

            static SimulatedDeviceConfig configFor (const SilenceCase& testCase)
            {
                auto pedal = pedalConfig();

                if (testCase.unanswered != 0)
                    pedal.faults.push_back ({ SimulatedFault::Kind::noReply, testCase.unanswered });

                // The model the host expects to answer twice, answering once.
                if (testCase.modelAnswersTwice)
                    pedal.familyId = 0x1A;

                return pedal;
            }

            const SimulatedDeviceConfig config;
            VirtualMidiPortSystem ports;
            std::unique_ptr<SimulatedDevice> simulated;
            std::unique_ptr<MidiTargetDevice> device;
        };
    };
}

TEST_F (RealReplyTimeouts, SilenceToEachRequestIsWaitedOutForItsOwnTimeAndNoLonger)
{
    std::vector<std::unique_ptr<SilentPedal>> pedals;
    std::vector<std::future<Measured>> runs;

    for (const auto& testCase : silenceCases)
    {
        auto& pedal = *pedals.emplace_back (std::make_unique<SilentPedal> (testCase));
        runs.push_back (std::async (std::launch::async, [&pedal, step = testCase.step] { return pedal.measure (step); }));
    }

    for (size_t i = 0; i < runs.size(); ++i)
    {
        const auto& testCase = silenceCases[i];
        const auto measured = runs[i].get();

        EXPECT_EQ (measured.outcome, testCase.outcome) << testCase.request;
        EXPECT_GE (measured.elapsedMs, testCase.realTimeoutMs) << testCase.request;
        EXPECT_LT (measured.elapsedMs, latestEndMs (testCase)) << testCase.request;
    }
}
