#include <gtest/gtest.h>

#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "flow/DownloadImageThread.h"
#include "flow/UpdateFlow.h"
#include "server/LoopbackServer.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/device/SimulatedTargetTest.h"
#include "tests/support/UserTexts.h"

// Every way each step of one device's update can end, run on the real workers against
// a simulated device and a loopback server, and what the front ends are given for it.
namespace
{
    enum class Served
    {
        image,          // an image that fills the device's memory, sixteen blocks
        shortImage,     // the first half of it: the region goes on after the last block
        emptyImage,     // the magic and no record
        notAnImage,
        nothing,        // 404
        localPath       // the revision names a file on this computer
    };

    enum class DeviceAfter
    {
        untouched,      // no block written, not switched
        updated,        // the flash holds the image
        waiting,        // blocks written, left in update mode
        anyState
    };

    struct FlowCase
    {
        const char* name;
        Served served = Served::image;
        std::optional<SimulatedFault> fault = {};
        bool sizeDiffers = false;           // the catalogue gives a size the image does not have
        bool cancelledFirst = false;        // not confirmed: ended before any worker
        const char* stopAtStatus = nullptr; // the worker is told to exit once it reports this
        bool programmingGivenUp = false;

        UpdateEnd end;
        UpdateResult page;
        const char* details = "";
        const char* postInstructions = "";
        std::vector<const char*> notes = {};
        const char* lastStatus = nullptr;   // the last status the front end saw; nullptr: not checked
        DeviceAfter deviceAfter = DeviceAfter::anyState;
    };

    void PrintTo (const FlowCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<FlowCase>& info)
    {
        return info.param.name;
    }

    constexpr auto untouched = "The device was not changed.";
    constexpr auto waitingAfterABlock = "The device is waiting in update mode and will be found again: "
                                        "run the update again to finish it.";
    constexpr auto mayBeWaiting = "The device may be waiting in update mode; it will be found again either way, "
                                  "and an update from there finishes it.";
    constexpr auto postInstructions = "Switch the pedal off and on again.";
    constexpr auto lastBlockStatus = "Writing at address: 0xF00";

    juce::MemoryBlock wholeMemoryImage()
    {
        return ImageFileBuilder().addRecord (0x000, 0x1000).getFile();
    }

    constexpr juce::uint32 shortImageBytes = 0x800;

    class UpdateFlowEnd : public SimulatedTargetTest,
                          public ::testing::WithParamInterface<FlowCase>
    {
    protected:
        UpdateFlowEnd()
        {
            const auto& testCase = GetParam();
            auto config = pedalConfig();

            if (testCase.fault.has_value())
                config.faults.push_back (*testCase.fault);

            simulated = &attach (config);

            auto product = productOf (config);
            product.revisions.add (std::make_unique<TargetRevision> (revisionFor (testCase)));
            device = std::make_unique<MidiTargetDevice> (product, ports, devicetest::shortReplyTimeouts());
            EXPECT_TRUE (MidiDeviceScanner::probe (*device, 0, 0));

            if (testCase.stopAtStatus != nullptr)
                reporter.onStatus = [stopAt = juce::String (testCase.stopAtStatus)] (const juce::String& text)
                {
                    if (text == stopAt)
                        juce::Thread::getCurrentThread()->signalThreadShouldExit();
                };
        }

        TargetRevision revisionFor (const FlowCase& testCase)
        {
            TargetRevision revision { "1.10", "1 Dec 2026", server.getUrl ("/pedal-1.10.bin"), {}, postInstructions, {}, {} };

            if (testCase.sizeDiffers)
                revision.imageSize = (juce::int64) wholeMemoryImage().getSize() + 1;

            switch (testCase.served)
            {
                case Served::image:      serve (wholeMemoryImage()); break;
                case Served::shortImage: serve (ImageFileBuilder().addRecord (0x000, shortImageBytes).getFile()); break;
                case Served::emptyImage: serve (ImageFileBuilder().getFile()); break;
                case Served::notAnImage: serve (juce::MemoryBlock ("<html></html>", 13)); break;
                case Served::nothing:    server.setAnswer ("/pedal-1.10.bin", LoopbackServer::Answer::withText ("", 404)); break;
                case Served::localPath:  revision.imageUrl = "/etc/passwd"; break;
            }

            return revision;
        }

        void serve (const juce::MemoryBlock& image)
        {
            server.setAnswer ("/pedal-1.10.bin", LoopbackServer::Answer::withData (image));
        }

        // As the client drives the flow: each step's worker to its end, told to exit as
        // Ctrl-C tells it; or, for a programming worker given up on, as the wizard does
        // when one does not end in time.
        void run (UpdateFlow& flow)
        {
            const auto& testCase = GetParam();

            if (testCase.cancelledFirst)
                flow.cancel();

            while (flow.getStep() != UpdateFlow::Step::ended)
            {
                auto worker = flow.makeWorker (nullptr, &reporter, &reporter);
                worker->startThread();

                if (testCase.programmingGivenUp && flow.getStep() == UpdateFlow::Step::program)
                {
                    // Still running, reading the image the flow keeps; stopped as it goes.
                    flow.workerAbandoned();
                    continue;
                }

                worker->waitForThreadToExit (-1);
                flow.workerEnded (*worker, ! worker->threadShouldExit());
            }
        }

        void expectDeviceState (DeviceAfter state) const
        {
            switch (state)
            {
                case DeviceAfter::untouched:
                    EXPECT_TRUE (writesHeardBy (*simulated).empty());
                    EXPECT_FALSE (simulated->isInUpdateMode());
                    break;
                case DeviceAfter::updated:
                {
                    const auto bytes = GetParam().served == Served::shortImage ? shortImageBytes : 0x1000u;
                    EXPECT_EQ (simulated->readFlash (0, bytes), ImageFileBuilder::patternBytes (0, bytes));
                    break;
                }
                case DeviceAfter::waiting:
                    EXPECT_FALSE (writesHeardBy (*simulated).empty());
                    EXPECT_TRUE (simulated->isInUpdateMode());
                    break;
                case DeviceAfter::anyState:
                    break;
            }
        }

        LoopbackServer server;
        SimulatedDevice* simulated = nullptr;
        std::unique_ptr<MidiTargetDevice> device;
    };

    FlowCase downloadCase (const char* name, Served served, UpdateEnd end, UpdateResult page, const char* details = "")
    {
        FlowCase testCase { name, served };
        testCase.end = end;
        testCase.page = page;
        testCase.details = details;
        testCase.notes = { untouched };
        testCase.deviceAfter = DeviceAfter::untouched;
        return testCase;
    }

    FlowCase programmingCase (const char* name, UpdateEnd end, UpdateResult page, const char* details,
                              std::vector<const char*> notes, const char* lastStatus, DeviceAfter deviceAfter)
    {
        FlowCase testCase { name };
        testCase.end = end;
        testCase.page = page;
        testCase.details = details;
        testCase.postInstructions = end == UpdateEnd::succeeded ? postInstructions : "";
        testCase.notes = std::move (notes);
        testCase.lastStatus = lastStatus;
        testCase.deviceAfter = deviceAfter;
        return testCase;
    }

    template <typename Change>
    FlowCase with (FlowCase testCase, Change&& change)
    {
        change (testCase);
        return testCase;
    }

    using End = UpdateEnd;
    using Page = UpdateResult;

    const auto mismatchedText = "The downloaded image is damaged or is not the one the catalogue names";
    const auto localPathText = "Only http and https addresses may be downloaded from here, not: /etc/passwd";
}

TEST_P (UpdateFlowEnd, GivesTheFrontEndsItsOutcome)
{
    const auto& testCase = GetParam();
    UpdateFlow flow (*device, *device->product.revisions[0], FileDownloader::Sources::webOnly);

    run (flow);

    const auto& outcome = flow.getOutcome();
    EXPECT_EQ (outcome.end, testCase.end);
    EXPECT_EQ (outcome.getResultsPage(), testCase.page);
    EXPECT_EQ (outcome.details, testCase.details);
    EXPECT_EQ (outcome.postInstructions, testCase.postInstructions);
    EXPECT_EQ (outcome.notes, juce::StringArray (testCase.notes.data(), (int) testCase.notes.size()));

    if (testCase.lastStatus != nullptr)
        EXPECT_EQ (reporter.getStatusTexts().strings.getLast(), testCase.lastStatus);

    expectDeviceState (testCase.deviceAfter);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Steps, UpdateFlowEnd, ::testing::Values (
    with (downloadCase ("NotConfirmed", Served::image, End::cancelled, Page::UpdateCancelled),
          [] (auto& c) { c.cancelledFirst = true; }),
    downloadCase ("ImageRefused", Served::localPath, End::imageRefused, Page::UpdateFailed, localPathText),
    with (downloadCase ("ImageMismatched", Served::image, End::imageRefused, Page::UpdateFailed, mismatchedText),
          [] (auto& c) { c.sizeDiffers = true; }),
    downloadCase ("ImageInvalid", Served::notAnImage, End::imageUnreachable, Page::UnableToConnect),
    downloadCase ("ImageNotDownloaded", Served::nothing, End::imageUnreachable, Page::UnableToConnect),
    with (downloadCase ("DownloadStopped", Served::image, End::cancelled, Page::UpdateCancelled),
          [] (auto& c) { c.stopAtStatus = UserTexts::connecting; }),

    programmingCase ("Succeeded", End::succeeded, Page::UpdateSucceeded, "", {},
                     UserTexts::updateComplete, DeviceAfter::updated),
    with (programmingCase ("CommError", End::programmingFailed, Page::UpdateFailed, UserTexts::noResponse, { mayBeWaiting },
                           UserTexts::updateFailedStatus, DeviceAfter::anyState),
          [] (auto& c) { c.fault = SimulatedFault { SimulatedFault::Kind::noReply, DeviceCommand::PrepareWrite }; }),
    with (programmingCase ("CommErrorAfterABlock", End::programmingFailed, Page::UpdateFailed, UserTexts::noResponse,
                           { waitingAfterABlock }, UserTexts::updateFailedStatus, DeviceAfter::waiting),
          [] (auto& c) { c.fault = SimulatedFault { SimulatedFault::Kind::noReply, DeviceCommand::WriteBlock, 3 }; }),
    with (programmingCase ("ImageError", End::programmingFailed, Page::UpdateFailed, UserTexts::endOfFile, { mayBeWaiting },
                           UserTexts::updateFailedStatus, DeviceAfter::untouched),
          [] (auto& c) { c.served = Served::emptyImage; }),
    with (programmingCase ("StoppedBeforeAnyBlock", End::cancelled, Page::UpdateCancelled, "", { mayBeWaiting },
                           UserTexts::initializingDevice, DeviceAfter::anyState),
          [] (auto& c) { c.stopAtStatus = UserTexts::initializingDevice; }),
    with (programmingCase ("StoppedAfterABlock", End::cancelled, Page::UpdateCancelled, "", { waitingAfterABlock },
                           "Writing at address: 0x0", DeviceAfter::waiting),
          [] (auto& c) { c.stopAtStatus = "Writing at address: 0x0"; }),
    with (programmingCase ("StoppedAfterTheLastBlock", End::succeeded, Page::UpdateSucceeded, "", {},
                           UserTexts::updateComplete, DeviceAfter::updated),
          [] (auto& c) { c.stopAtStatus = lastBlockStatus; }),
    with (programmingCase ("StoppedAfterTheLastBlockOfAnImageShorterThanItsRegion", End::succeeded, Page::UpdateSucceeded,
                           "", {}, UserTexts::updateComplete, DeviceAfter::updated),
          [] (auto& c) { c.served = Served::shortImage; c.stopAtStatus = "Writing at address: 0x700"; }),
    with (programmingCase ("GivenUpOn", End::programmingUnfinished, Page::UpdateFailed,
                           "The device did not finish in time", {}, nullptr, DeviceAfter::anyState),
          [] (auto& c) { c.programmingGivenUp = true; })), nameOf);
// clang-format on
