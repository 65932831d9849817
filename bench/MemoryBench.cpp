#include <benchmark/benchmark.h>

#include "bench/HeapCounter.h"
#include "bench/ProgrammingSetUp.h"
#include "bench/TranscriptFreeDevice.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "device/MidiTargetDevice.h"
#include "server/LoopbackServer.h"
#include "flow/DownloadImageThread.h"
#include "flow/UpdateThread.h"

namespace
{
    constexpr juce::uint32 imageSize = 16 << 20;

    // Larger than a real device's blocks so that the run takes seconds: the heap a block
    // needs comes and goes with it, so the block count does not change the peak.
    constexpr juce::uint16 blockSize = 4096;

    double mebibytes (double bytes)
    {
        return bytes / (1 << 20);
    }

    // What the heap held over a window that started with baseline bytes.
    struct Window
    {
        static Window start()
        {
            HeapCounter::startWindow();
            return { HeapCounter::held() };
        }

        // ownedBytes: what the window was meant to leave held.
        void report (benchmark::State& state, const std::string& prefix, double ownedBytes) const
        {
            const auto extra = (double) (HeapCounter::peak() - baseline) - ownedBytes;
            state.counters[prefix + "PeakExtraMiB"] = mebibytes (extra);
            state.counters[prefix + "PeakExtraOverImage"] = extra / imageSize;
            state.counters[prefix + "LargestBlockMiB"] = mebibytes ((double) HeapCounter::largestBlock());
        }

        // A growing block that realloc moves is copied; both copies count in the peak.
        static void reportReallocCopies (benchmark::State& state)
        {
            state.counters["downloadReallocCopiedMiB"] = mebibytes ((double) HeapCounter::copiedByRealloc());
            state.counters["downloadLargestReallocCopyMiB"] = mebibytes ((double) HeapCounter::largestCopyByRealloc());
        }

        size_t baseline;
    };

    enum ImageSource
    {
        fromFile = 0,
        fromLoopbackServer = 1
    };

    // Where the download thread finds the image: a file, or a server on 127.0.0.1 that
    // sends it from the one copy it holds, in pieces, with its length announced.
    class ImageOrigin
    {
    public:
        explicit ImageOrigin (ImageSource source)
        {
            const auto image = ProgrammingSetUp::imageOf (imageSize);

            if (source == fromFile)
            {
                if (file.getFile().replaceWithData (image.getData(), image.getSize()))
                    location = file.getFile().getFullPathName();

                return;
            }

            server = std::make_unique<LoopbackServer>();
            auto answer = LoopbackServer::Answer::withData (image);
            answer.pieceSize = 1 << 16;
            server->setAnswer ("/image.bin", std::move (answer));
            location = server->getUrl ("/image.bin");
        }

        juce::String location;

    private:
        const juce::TemporaryFile file { ".bin" };
        std::unique_ptr<LoopbackServer> server;
    };

    void runToEnd (juce::Thread& thread)
    {
        thread.startThread();
        thread.waitForThreadToExit (-1);
    }

    // The download thread reads the image in chunks into one growing block.
    std::unique_ptr<juce::MemoryBlock> download (const juce::String& location)
    {
        DownloadImageThread thread (location, FileDownloader::Sources::webAndLocalFiles, nullptr, nullptr);
        runToEnd (thread);
        return thread.takeImage();
    }

    // The controller lends the image to the update thread as a stream over its bytes.
    bool program (MidiTargetDevice& device, const juce::MemoryBlock& image)
    {
        juce::MemoryInputStream stream (image, false);
        UpdateThread thread (device, stream, nullptr, nullptr, nullptr);
        runToEnd (thread);
        return thread.getStatus() == UpdateThread::UpdateOk;
    }

    bool flashHoldsImage (const TranscriptFreeDevice& simulated)
    {
        const auto flash = simulated.readFlash (0, imageSize);

        for (juce::uint32 address = 0; address < imageSize; ++address)
            if (flash[address] != ProgrammingSetUp::imageByteAt (address))
                return false;

        return flash.size() == imageSize;
    }

    // The road of a 16 MiB image through the program: downloaded into one block, then
    // read from it block by block while it is written into the device. The peaks are
    // what the heap held beyond what it held before, and beyond the image itself.
    void holdSixteenMebibyteImageOnceWhileDownloadingAndProgramming (benchmark::State& state)
    {
        for ([[maybe_unused]] auto iteration : state)
        {
            state.PauseTiming();
            const ImageOrigin origin ((ImageSource) state.range (0));
            VirtualMidiPortSystem ports;
            ports.addInput ("Pedal");
            ports.addOutput ("Pedal");
            TranscriptFreeDevice simulated (ports, ProgrammingSetUp::deviceFor (imageSize, {}, blockSize));
            MidiTargetDevice device (ProgrammingSetUp::productOf (simulated.getConfig()), ports, ReplyTimeouts {});
            device.setPortIndices (0, 0);
            state.ResumeTiming();

            const auto downloading = Window::start();
            const auto image = download (origin.location);

            if (image == nullptr)
            {
                state.SkipWithError ("the image was not downloaded");
                return;
            }

            downloading.report (state, "download", (double) image->getSize());
            Window::reportReallocCopies (state);

            const auto programming = Window::start();
            const auto programmed = program (device, *image);
            programming.report (state, "programming", 0.0);

            state.PauseTiming();

            if (! programmed || ! flashHoldsImage (simulated))
                state.SkipWithError ("the device's flash does not hold the image");

            state.ResumeTiming();
        }
    }
}

BENCHMARK (holdSixteenMebibyteImageOnceWhileDownloadingAndProgramming)
    ->ArgName ("http")
    ->Arg (fromFile)
    ->Arg (fromLoopbackServer)
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations (1);

namespace
{
    // A hostile server that sends without end: the image download and the catalogue
    // download each stop at their limit, and the heap holds at most about that much.
    void holdNoMoreThanTheLimitWhateverAServerSends (benchmark::State& state)
    {
        LoopbackServer server;
        auto answer = LoopbackServer::Answer::withData (ProgrammingSetUp::imageOf (1 << 20));
        answer.endless = true;
        server.setAnswer ("/endless", std::move (answer));
        const auto address = server.getUrl ("/endless");

        for ([[maybe_unused]] auto iteration : state)
        {
            const auto imageDownload = Window::start();
            DownloadImageThread image (address, FileDownloader::Sources::webOnly, nullptr, nullptr);
            runToEnd (image);
            imageDownload.report (state, "image", 0.0);

            const auto catalogueDownload = Window::start();
            TargetsInfoDownloadThread catalogue ({ address }, nullptr, nullptr);
            runToEnd (catalogue);
            catalogueDownload.report (state, "catalogue", 0.0);

            if (image.getStatus() != DownloadImageThread::ImageRefused
                || catalogue.getStatus() != TargetsResult::TargetsParseError)
                state.SkipWithError ("a download without end was not refused");
        }

        state.counters["imageLimitMiB"] = mebibytes ((double) DownloadImageThread::largestImage);
        state.counters["catalogueLimitMiB"] = mebibytes ((double) TargetsInfoDownloadThread::largestTargetsFile);
    }
}

BENCHMARK (holdNoMoreThanTheLimitWhateverAServerSends)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
