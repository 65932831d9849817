#include "flow/UpdateBatch.h"

#include "device/DeviceCommand.h"
#include "device/MidiTargetDevice.h"
#include "server/LoopbackServer.h"
#include "sim/SimulatedDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/device/DeviceTestSupport.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/support/ReportRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>

namespace
{
    constexpr juce::uint32 imageLength = 0x1000;

    // Which device wrote a block, in the order the blocks were written, across devices.
    class BlockLog
    {
    public:
        void add (int device)
        {
            const std::lock_guard<std::mutex> lock (mutex);
            devices.push_back (device);
        }

        // The devices in the order their runs of blocks came: 0, 1 when device 0 wrote
        // all its blocks before device 1 wrote any.
        std::vector<int> getRuns() const
        {
            const std::lock_guard<std::mutex> lock (mutex);
            std::vector<int> runs;

            for (auto device : devices)
                if (runs.empty() || runs.back() != device)
                    runs.push_back (device);

            return runs;
        }

    private:
        mutable std::mutex mutex;   // guards devices
        std::vector<int> devices;
    };

    struct DevicePlan
    {
        juce::String port;
        juce::uint8 familyId;
        std::vector<SimulatedFault> faults = {};
    };

    // Simulated devices on virtual ports, each a distinct product, and one batch updating
    // them all from images a loopback server serves. The test's thread is the batch's
    // message thread.
    class BatchWorld
    {
    public:
        explicit BatchWorld (const std::vector<DevicePlan>& plans)
        {
            const auto imageUrl = server.getUrl ("/image.bin");
            server.setAnswer ("/image.bin", LoopbackServer::Answer::withData (ImageFileBuilder().addRecord (0, imageLength).getFile()));
            revision.version = "2.0";
            revision.imageUrl = imageUrl;

            for (const auto& plan : plans)
                addDevice (plan);
        }

        void addDevice (const DevicePlan& plan)
        {
            SimulatedDeviceConfig config;
            config.portName = plan.port;
            config.familyId = plan.familyId;
            config.productId = config.updateProductId = 0x02;
            config.memoryMap = SimulatedMemoryMap::covering (256, { { 0, imageLength } });
            config.faults = plan.faults;

            const auto input = portIndex (ports.getInputNames(), plan.port, [this] (auto& name) { return ports.addInput (name); });
            const auto output = portIndex (ports.getOutputNames(), plan.port, [this] (auto& name) { return ports.addOutput (name); });

            simulated.push_back (std::make_unique<SimulatedDevice> (ports, config));
            auto host = std::make_unique<MidiTargetDevice> (devicetest::makeProduct (config.brand, config.familyId, config.productId,
                                                                                      config.updateProductId, plan.port),
                                                            ports, ReplyTimeouts {});
            host->setPortIndices (input, output);

            const auto index = (int) recorders.size();
            auto recorder = std::make_unique<ReportRecorder>();
            recorder->onStatus = [this, index] (const juce::String& text)
            {
                if (text.startsWith ("Writing at address"))
                    blockWritten (index);
            };

            batch.add (std::make_unique<UpdateFlow> (*host, revision, FileDownloader::Sources::webOnly),
                       { recorder.get(), recorder.get() });
            hosts.push_back (std::move (host));
            recorders.push_back (std::move (recorder));
        }

        // Runs the batch as the client's main thread does, until every device's update
        // has ended; stopWhen, asked between waits, makes it stop the batch once.
        void run (std::function<bool()> stopWhen = {})
        {
            batch.start();
            bool stopped = false;

            while (batch.serviceWorkers())
            {
                if (! stopped && stopWhen != nullptr && stopWhen())
                {
                    batch.stop();
                    stopped = true;
                    afterStop();
                }

                batch.waitForWorkers (50);
            }
        }

        bool flashHoldsImage (int device) const
        {
            return simulated[(size_t) device]->readFlash (0, imageLength) == ImageFileBuilder::patternBytes (0, imageLength);
        }

        bool flashIsErased (int device) const
        {
            return simulated[(size_t) device]->readFlash (0, imageLength) == std::vector<juce::uint8> (imageLength, 0xff);
        }

        UpdateEnd endOf (int device) const
        {
            return batch.getFlow (device).getOutcome().end;
        }

        // Worker threads: called after each block a device has written.
        std::function<void (int)> blockWritten = [this] (int device) { blocks.add (device); };

        // The test's thread, right after it stopped the batch.
        std::function<void()> afterStop = [] {};

        BlockLog blocks;

    private:
        template <typename Add>
        static int portIndex (const juce::StringArray& names, const juce::String& name, Add&& add)
        {
            const auto existing = names.indexOf (name);
            return existing >= 0 ? existing : add (name);
        }

        LoopbackServer server;
        VirtualMidiPortSystem ports;
        TargetRevision revision;
        std::vector<std::unique_ptr<SimulatedDevice>> simulated;
        std::vector<std::unique_ptr<MidiTargetDevice>> hosts;
        std::vector<std::unique_ptr<ReportRecorder>> recorders;

    public:
        // Declared last: its workers end before the devices and reporters they use go.
        UpdateBatch batch;
    };

    // Ports like JUCE's on Linux, where one assembler joins the SysEx pieces of every input.
    class JoinedInputsPortSystem : public VirtualMidiPortSystem
    {
    public:
        bool readsInputsApart() const override   { return false; }
    };

    SimulatedFault failingSecondBlock()
    {
        SimulatedFault fault;
        fault.kind = SimulatedFault::Kind::errorReply;
        fault.command = DeviceCommand::WriteBlock;
        fault.first = 2;
        fault.times = 100;
        fault.errorCode = 0x05;
        return fault;
    }
}

TEST (UpdateBatchLanes, DevicesSharingAnyPortOrAnInputAssemblerDirectlyOrThroughAnotherShareALane)
{
    struct Case
    {
        const char* layout;
        std::vector<std::pair<int, int>> portPairs;  // each device's input and output index
        std::vector<int> lanes;
        std::vector<int> onJoinedInputs = {};       // the devices on ports whose inputs are not read apart
    };

    const Case cases[] = {
        { "each on its own pair",           { { 0, 0 }, { 1, 1 }, { 2, 2 } }, { 0, 1, 2 } },
        { "one pair shared by two",         { { 0, 0 }, { 1, 1 }, { 0, 0 } }, { 0, 1, 0 } },
        { "the input alone shared",         { { 0, 0 }, { 0, 1 }, { 2, 2 } }, { 0, 0, 2 } },
        { "the output alone shared",        { { 0, 1 }, { 2, 1 }, { 3, 3 } }, { 0, 0, 2 } },
        { "a chain through a third",        { { 0, 0 }, { 1, 1 }, { 0, 1 } }, { 0, 0, 0 } },
        { "input and output lists apart",   { { 0, 1 }, { 1, 0 } },           { 0, 1 } },
        { "no ports chosen shares nothing", { { -1, -1 }, { -1, -1 } },       { 0, 1 } },
        { "inputs not read apart",          { { 0, 0 }, { 1, 1 }, { 2, 2 } }, { 0, 0, 0 }, { 0, 1, 2 } },
        { "only those inputs take turns",   { { 0, 0 }, { 1, 1 }, { 2, 2 } }, { 0, 1, 0 }, { 0, 2 } },
    };

    VirtualMidiPortSystem ports;
    JoinedInputsPortSystem joinedPorts;

    for (const auto& testCase : cases)
    {
        SCOPED_TRACE (testCase.layout);
        std::vector<std::unique_ptr<MidiTargetDevice>> devices;
        juce::Array<const TargetDevice*> pointers;

        for (const auto& [input, output] : testCase.portPairs)
        {
            const auto joined = std::count (testCase.onJoinedInputs.begin(), testCase.onJoinedInputs.end(), (int) devices.size()) > 0;
            devices.push_back (std::make_unique<MidiTargetDevice> (devicetest::makeProduct (TargetBrand::Calvio, 1, 1, 1, "Port"),
                                                                   joined ? joinedPorts : ports, ReplyTimeouts {}));
            devices.back()->setPortIndices (input, output);
            pointers.add (devices.back().get());
        }

        EXPECT_EQ (UpdateBatch::assignLanes (pointers), testCase.lanes);
    }
}

TEST (UpdateBatch, DevicesOnTheirOwnPortsAreWrittenSideBySide)
{
    BatchWorld world ({ { "Pedal A", 0x05 }, { "Pedal B", 0x06 }, { "Pedal C", 0x07 } });

    // Each device's first block waits until all three have written one: only devices
    // written side by side get past it.
    std::mutex mutex;
    std::condition_variable allStarted;
    std::set<int> started;
    int waitedInVain = 0;

    world.blockWritten = [&] (int device)
    {
        std::unique_lock<std::mutex> lock (mutex);

        if (started.insert (device).second)
        {
            if (! allStarted.wait_for (lock, std::chrono::seconds (20), [&] { return started.size() == 3; }))
                ++waitedInVain;

            allStarted.notify_all();
        }
    };

    world.run();

    EXPECT_EQ (waitedInVain, 0);

    for (int device = 0; device < 3; ++device)
    {
        SCOPED_TRACE (device);
        EXPECT_EQ (world.endOf (device), UpdateEnd::succeeded);
        EXPECT_TRUE (world.flashHoldsImage (device));
    }
}

TEST (UpdateBatch, DevicesOnOnePortAreWrittenOneAfterAnotherAndAFailureEndsOnlyItsOwnUpdate)
{
    struct Case
    {
        const char* scene;
        std::vector<DevicePlan> devices;
        std::vector<UpdateEnd> ends;
        std::vector<int> chainRuns;     // the shared port's devices, in the order they wrote
    };

    const Case cases[] = {
        { "two on one chain",
          { { "Chain", 0x05 }, { "Chain", 0x06 } },
          { UpdateEnd::succeeded, UpdateEnd::succeeded },
          { 0, 1 } },
        { "the first of a chain fails, beside a device of its own",
          { { "Chain", 0x05, { failingSecondBlock() } }, { "Chain", 0x06 }, { "Alone", 0x07 } },
          { UpdateEnd::programmingFailed, UpdateEnd::succeeded, UpdateEnd::succeeded },
          { 0, 1 } },
        { "the device of its own fails",
          { { "Chain", 0x05 }, { "Alone", 0x07, { failingSecondBlock() } }, { "Chain", 0x06 } },
          { UpdateEnd::succeeded, UpdateEnd::programmingFailed, UpdateEnd::succeeded },
          { 0, 2 } },
    };

    for (const auto& testCase : cases)
    {
        SCOPED_TRACE (testCase.scene);
        BatchWorld world (testCase.devices);
        world.run();

        std::vector<int> chainRuns;

        for (auto device : world.blocks.getRuns())
            if (testCase.devices[(size_t) device].port == "Chain"
                && (chainRuns.empty() || chainRuns.back() != device))
                chainRuns.push_back (device);

        EXPECT_EQ (chainRuns, testCase.chainRuns);

        for (int device = 0; device < (int) testCase.ends.size(); ++device)
        {
            SCOPED_TRACE (device);
            EXPECT_EQ (world.endOf (device), testCase.ends[(size_t) device]);
            EXPECT_EQ (world.flashHoldsImage (device), testCase.ends[(size_t) device] == UpdateEnd::succeeded);
        }
    }
}

TEST (UpdateBatch, StopMidwayEndsEveryDeviceInAReportedState)
{
    // Device 0 is midway when the batch is stopped, device 1 waits behind it on the same
    // chain, device 2 on a port of its own may be anywhere.
    BatchWorld world ({ { "Chain", 0x05 }, { "Chain", 0x06 }, { "Alone", 0x07 } });

    juce::WaitableEvent stopped;
    std::atomic<int> firstDeviceBlocks { 0 };

    world.blockWritten = [&] (int device)
    {
        world.blocks.add (device);

        // Holds the worker after its third block until the batch has been stopped, so
        // that it stops midway whatever the threads' speeds.
        if (device == 0 && ++firstDeviceBlocks == 3)
            stopped.wait (20000);
    };
    world.afterStop = [&] { stopped.signal(); };

    world.run ([&] { return firstDeviceBlocks.load() >= 3; });

    const auto& midway = world.batch.getFlow (0).getOutcome();
    EXPECT_EQ (midway.end, UpdateEnd::cancelled);
    EXPECT_TRUE (midway.notes.joinIntoString (" ").contains ("waiting in update mode")) << midway.notes.joinIntoString (" ");
    EXPECT_FALSE (world.flashHoldsImage (0));

    const auto& waiting = world.batch.getFlow (1).getOutcome();
    EXPECT_EQ (waiting.end, UpdateEnd::cancelled);
    EXPECT_EQ (waiting.notes, juce::StringArray ("The device was not changed."));
    EXPECT_TRUE (world.flashIsErased (1));

    const auto& alone = world.batch.getFlow (2).getOutcome();

    if (alone.end == UpdateEnd::succeeded)
        EXPECT_TRUE (world.flashHoldsImage (2));
    else
        EXPECT_TRUE (alone.end == UpdateEnd::cancelled && ! alone.notes.isEmpty());
}
