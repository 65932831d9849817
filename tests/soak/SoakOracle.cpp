#include "tests/soak/SoakOracle.h"

#include "device/CommTargetException.h"
#include "device/DeviceCommand.h"

#include <algorithm>

namespace
{
    using Block = SoakExpectation::Block;
    using Record = SoakScenario::Record;

    // The low pages the Calvio 0x1A/1 has made ready, top down, before its region at 0.
    constexpr juce::uint32 preparedPages[] = { 0x8000, 0x6000, 0x4000, 0x0000 };

    SoakStep requestStep (juce::uint8 command, int timeoutMs, bool duringScan = false)
    {
        SoakStep step;
        step.command = command;
        step.timeoutMs = timeoutMs;
        step.duringScan = duringScan;
        return step;
    }

    SoakStep writeStep (juce::uint32 address, int timeoutMs, bool resentOnFailure)
    {
        auto step = requestStep (DeviceCommand::WriteBlock, timeoutMs);
        step.address = address;
        step.resentOnFailure = resentOnFailure;
        return step;
    }

    SoakStep hostStep (SoakStep::Kind kind)
    {
        SoakStep step;
        step.kind = kind;
        return step;
    }

    std::vector<Block> blocksOfRegion (const SimulatedRegion& region, const std::vector<Record>& records, int blockSize)
    {
        std::vector<Block> blocks;

        if (region.length == 0)
            return blocks;

        auto address = (juce::uint64) region.start;
        const auto last = (juce::uint64) region.start + region.length - 1;

        while (address <= last)
        {
            const auto record = std::find_if (records.begin(), records.end(), [address] (const Record& r)
            {
                return r.address <= address && address < r.getEnd();
            });

            if (record == records.end())
            {
                const auto next = std::find_if (records.begin(), records.end(), [address] (const Record& r)
                {
                    return r.address > address;
                });

                if (next == records.end())
                    break;

                address = next->address;
                continue;
            }

            const auto size = std::min ({ (juce::uint64) blockSize, (juce::uint64) record->getEnd() - address, last + 1 - address });
            const auto first = record->data.begin() + (std::ptrdiff_t) (address - record->address);
            const auto erased = std::all_of (first, first + (std::ptrdiff_t) size, [] (juce::uint8 b) { return b == 0xFF; });

            blocks.push_back ({ (juce::uint32) address, ! (erased && address > region.start) });
            address += size;
        }

        return blocks;
    }
}

SoakExpectation SoakOracle::expect (const SoakScenario& scenario)
{
    SoakOracle oracle (scenario);
    auto& expectation = oracle.expectation;
    expectation.blocks = blocksOf (scenario);

    // A device waiting under its update product ID does not hear the first identity request.
    if (scenario.device.startsInUpdateMode && scenario.hasSeparateUpdateId())
        expectation.silenceMs += scenario.replyTimeouts.identity;

    for (const auto& step : stepsOf (scenario))
    {
        if (! oracle.take (step))
        {
            expectation.strayBeforeFailure = oracle.strayed;
            return expectation;
        }
    }

    if (oracle.strayed)
        expectation.ending = SoakExpectation::Ending::succeededOrUnexpected;

    return expectation;
}

std::vector<SoakStep> SoakOracle::stepsOf (const SoakScenario& scenario)
{
    const auto& device = scenario.device;
    const auto& timeouts = scenario.replyTimeouts;
    std::vector<SoakStep> steps;

    steps.push_back (requestStep (DeviceCommand::IdentityRequest, timeouts.identity, true));

    if (! device.startsInUpdateMode)
        steps.push_back (requestStep (DeviceCommand::VersionRequest, timeouts.version, true));

    steps.push_back (hostStep (SoakStep::Kind::download));
    steps.push_back (hostStep (SoakStep::Kind::parseImage));
    steps.push_back (hostStep (SoakStep::Kind::openPorts));

    if (! device.startsInUpdateMode)
        steps.push_back (requestStep (DeviceCommand::EnterUpdateMode, timeouts.enterUpdateMode));

    if (scenario.model == SoakScenario::Model::reopensPorts)
        steps.push_back (hostStep (SoakStep::Kind::openPorts));

    steps.push_back (requestStep (DeviceCommand::PrepareWrite, timeouts.prepareWrite));
    steps.push_back (requestStep (DeviceCommand::MemoryMapRequest, timeouts.memoryMap));
    steps.push_back (hostStep (SoakStep::Kind::fitImage));

    for (const auto& region : device.memoryMap.regions)
    {
        if (region.start == 0 && scenario.model == SoakScenario::Model::preparesLowPages)
        {
            for (const auto page : preparedPages)
            {
                steps.push_back (requestStep (DeviceCommand::PrepareWrite, timeouts.prepareWrite));
                steps.push_back (writeStep (page, timeouts.writeBlock, false));
            }
        }

        for (const auto& block : blocksOfRegion (region, scenario.records, device.memoryMap.blockSize))
            if (block.sent)
                steps.push_back (writeStep (block.address, timeouts.writeBlock, true));
    }

    return steps;
}

std::vector<SoakExpectation::Block> SoakOracle::blocksOf (const SoakScenario& scenario)
{
    std::vector<Block> blocks;

    for (const auto& region : scenario.device.memoryMap.regions)
    {
        const auto regionBlocks = blocksOfRegion (region, scenario.records, scenario.device.memoryMap.blockSize);
        blocks.insert (blocks.end(), regionBlocks.begin(), regionBlocks.end());
    }

    return blocks;
}

juce::String SoakOracle::deviceErrorText (juce::uint8 command, juce::uint8 code)
{
    // Each code's own text is pinned by the exception's tests; here it matters that the
    // device's command and code reach the user.
    return CommTargetException (command, code).what();
}

juce::String SoakOracle::hostErrorText (int hostError)
{
    switch (hostError)
    {
        case 0:  return "No reponse was received from the device";
        case 1:  return "The device returned corrupt data";
        case 2:  return "An unexpected or invalid message was received";
        default: return {};
    }
}

SoakOracle::SoakOracle (const SoakScenario& scenarioToFollow)
    : scenario (scenarioToFollow),
      fault (scenarioToFollow.getDeviceFault()),
      inputOpeningsLeft (scenarioToFollow.inputOpeningsLeft)
{
}

bool SoakOracle::take (const SoakStep& step)
{
    switch (step.kind)
    {
        case SoakStep::Kind::request:
            return request (step);

        case SoakStep::Kind::download:
            if (scenario.hostFault != SoakScenario::HostFault::imageMissing)
                return true;

            expectation.ending = SoakExpectation::Ending::imageNotDownloaded;
            return false;

        case SoakStep::Kind::openPorts:
            if (scenario.hostFault != SoakScenario::HostFault::portsRefuse || inputOpeningsLeft-- > 0)
                return true;

            return fail ("An unspecified communication error has occured");

        case SoakStep::Kind::parseImage:
            if (scenario.hostFault != SoakScenario::HostFault::imageCutShort)
                return true;

            expectation.imageError = true;
            return fail ("Unexpected end of file encoutered");

        case SoakStep::Kind::fitImage:
            if (! expectation.blocks.empty())
                return true;

            expectation.imageError = true;
            return fail ("The firmware image does not fit the device's memory");
    }

    return true;
}

bool SoakOracle::request (const SoakStep& step)
{
    const auto switchesSilently = step.command == DeviceCommand::EnterUpdateMode
                               && ! scenario.device.acknowledgesUpdateMode;

    for (int send = 1;; ++send)
    {
        if (! step.duringScan)
            expectation.programmingSends.push_back (step.label());

        if (vanished)
        {
            expectation.silenceMs += step.timeoutMs;
            return noUsableAnswer (step, 0);
        }

        const auto occurrence = ++occurrences[step.command];

        if (fault.has_value() && fault->appliesTo (step.command, occurrence))
        {
            if (fault->kind == SimulatedFault::Kind::errorReply && fault->errorCode == 12
                && step.resentOnFailure && send < 3)
                continue;

            if (! meetFault (step, *fault, switchesSilently))
                return false;
        }
        else if (switchesSilently)
        {
            expectation.silenceMs += step.timeoutMs;
        }

        return true;
    }
}

bool SoakOracle::meetFault (const SoakStep& step, const SimulatedFault& deviceFault, bool switchesSilently)
{
    using Kind = SimulatedFault::Kind;

    // A device that switches without a word has no answer to spoil: the host waits in vain.
    // clang-format off
    if (switchesSilently && (deviceFault.kind == Kind::noReply || deviceFault.kind == Kind::badChecksum
                              || deviceFault.kind == Kind::wrongKind || deviceFault.kind == Kind::vanishAfterReply
                              || deviceFault.kind == Kind::strayMessage || deviceFault.kind == Kind::foreignHeader))
        expectation.silenceMs += step.timeoutMs;
    // clang-format on

    switch (deviceFault.kind)
    {
        case Kind::noReply:
        case Kind::foreignHeader:
            if (! switchesSilently)
                expectation.silenceMs += step.timeoutMs + identityRetrySilence (step);

            return noUsableAnswer (step, 0);

        case Kind::badChecksum:
            return noUsableAnswer (step, switchesSilently ? 0 : 1);

        case Kind::wrongKind:
            return noUsableAnswer (step, switchesSilently ? 0 : 2);

        case Kind::tooShort:
            return noUsableAnswer (step, 2);

        case Kind::errorReply:
            if (step.duringScan)
            {
                expectation.ending = SoakExpectation::Ending::noDevice;
                return false;
            }

            return fail (deviceErrorText (step.command, deviceFault.errorCode));

        case Kind::strayMessage:
            strayed = true;
            expectation.strayDuringScan = step.duringScan;
            return true;

        case Kind::vanishAfterReply:
            vanished = true;
            return true;

        case Kind::strangerAfterReply:
            return true;

        case Kind::missingRegion:
            return step.command != DeviceCommand::MemoryMapRequest || noUsableAnswer (step, 2);
    }

    return true;
}

bool SoakOracle::noUsableAnswer (const SoakStep& step, int hostError)
{
    if (step.duringScan)
    {
        expectation.ending = SoakExpectation::Ending::noDevice;
        return false;
    }

    // A device may switch into update mode without answering: the host goes on.
    if (step.command == DeviceCommand::EnterUpdateMode)
        return true;

    return fail (hostErrorText (hostError));
}

bool SoakOracle::fail (const juce::String& text)
{
    expectation.ending = SoakExpectation::Ending::failed;
    expectation.errorText = text;
    return false;
}

int SoakOracle::identityRetrySilence (const SoakStep& step) const
{
    // Unanswered, the identity request goes again under the update product ID, which a
    // running device does not hear either.
    const auto retried = step.command == DeviceCommand::IdentityRequest && scenario.hasSeparateUpdateId()
                      && ! scenario.device.startsInUpdateMode;
    return retried ? scenario.replyTimeouts.identity : 0;
}
