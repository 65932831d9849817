#include "sequencer/broker/Broker.h"

#include "demo/FlashCheck.h"
#include "sequencer/SequencerServer.h"
#include "sequencer/broker/BrokerLog.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <pthread.h>

namespace
{
    // Far beyond any image of the demo's devices.
    constexpr juce::int64 maxImageBytes = 16 * 1024 * 1024;

    constexpr long pollNanoseconds = 20'000'000;

    struct Expected
    {
        juce::String device;
        juce::String fileName;
        juce::MemoryBlock image;
    };

    sigset_t stopSignals()
    {
        sigset_t signals;
        sigemptyset (&signals);
        sigaddset (&signals, SIGTERM);
        sigaddset (&signals, SIGINT);
        return signals;
    }

    void complain (const juce::String& text)
    {
        std::fputs (("quillon-sequencer: " + text + "\n").toRawUTF8(), stderr);
    }

    bool readImages (const BrokerOptions& options, std::vector<Expected>& expected)
    {
        for (const auto& expectation : options.expectations)
        {
            Expected entry { expectation.device, expectation.image.getFileName(), {} };

            if (expectation.image.getSize() > maxImageBytes || ! expectation.image.loadFileAsData (entry.image))
            {
                complain ("cannot read the image " + expectation.image.getFullPathName());
                return false;
            }

            expected.push_back (std::move (entry));
        }

        return true;
    }

    void showChanges (const SequencerKernel& kernel, SequencerDeviceRack& rack, BrokerLog& log)
    {
        for (const auto& name : rack.takeNewlyUnplugged())
            log.write ("unplugged: " + name);

        log.showChanges (kernel.clients(), kernel.subscriptions());
    }

    void keepLogUntilStopped (const SequencerKernel& kernel, SequencerDeviceRack& rack, BrokerLog& log)
    {
        const auto signals = stopSignals();
        const timespec pollInterval { 0, pollNanoseconds };

        for (;;)
        {
            showChanges (kernel, rack, log);

            if (sigtimedwait (&signals, nullptr, &pollInterval) >= 0)
                break;
        }

        showChanges (kernel, rack, log);
    }

    bool holds (const SequencerDeviceRack& rack, const Expected& expected)
    {
        const auto* device = rack.findDevice (expected.device);

        return device != nullptr
            && FlashCheck::matches (expected.image, device->getConfig().memoryMap.regions,
                                    [device] (juce::uint32 address, juce::uint32 length)
                                    { return device->readFlash (address, length); });
    }

    int checkExpectations (const SequencerDeviceRack& rack, const std::vector<Expected>& expectations, BrokerLog& log)
    {
        auto failed = 0;

        for (const auto& expected : expectations)
        {
            const auto ok = holds (rack, expected);
            failed += ok ? 0 : 1;
            log.report ("flash of " + expected.device + (ok ? " holds " : " does not hold ")
                        + BrokerLog::visible (expected.fileName.toStdString()));
        }

        return failed;
    }
}

void Broker::holdStopSignals()
{
    const auto signals = stopSignals();
    pthread_sigmask (SIG_BLOCK, &signals, nullptr);
}

int Broker::run (const BrokerOptions& options)
{
    BrokerLog log (options.logFile);
    std::vector<Expected> expectations;

    if (! log.openedOk())
    {
        complain ("cannot write the log " + options.logFile.getFullPathName());
        return 2;
    }

    if (! readImages (options, expectations))
        return 2;

    SequencerKernel kernel;
    auto rack = std::make_unique<SequencerDeviceRack> (kernel, options.placements, options.interfaceName);
    std::unique_ptr<SequencerServer> server;

    try
    {
        server = std::make_unique<SequencerServer> (kernel, options.socketPath.toStdString());
    }
    catch (const std::exception& e)
    {
        complain ("cannot serve on " + options.socketPath + ": " + e.what());
        return 1;
    }

    std::fputs ("quillon-sequencer: ready\n", stdout);
    std::fflush (stdout);

    keepLogUntilStopped (kernel, *rack, log);

    const auto failed = checkExpectations (*rack, expectations, log);
    log.report ("clients left: " + BrokerLog::userClients (kernel.clients()));

    server.reset();
    rack.reset();
    return failed > 0 ? 1 : 0;
}
