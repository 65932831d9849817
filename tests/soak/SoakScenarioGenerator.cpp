#include "tests/soak/SoakScenarioGenerator.h"

#include "device/DeviceCommand.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/soak/SoakOracle.h"

#include <algorithm>
#include <map>

namespace
{
    constexpr int drawsBeforeGivingUp = 40;

    // Flash down to the pages the Calvio 0x1A/1 has made ready, which lie below 0x8001.
    constexpr juce::uint32 lowestFlashEnd = 0x8001;

    // The requests a fault may be aimed at, each equally likely to be chosen.
    constexpr juce::uint8 faultyCommands[] = { DeviceCommand::IdentityRequest, DeviceCommand::VersionRequest,
                                               DeviceCommand::EnterUpdateMode, DeviceCommand::PrepareWrite,
                                               DeviceCommand::MemoryMapRequest, DeviceCommand::WriteBlock };
}

SoakScenarioGenerator::SoakScenarioGenerator (juce::uint32 seed)
    : random (seed)
{
}

SoakScenario SoakScenarioGenerator::next (int silenceBudgetMs)
{
    for (int attempt = 0; attempt < drawsBeforeGivingUp; ++attempt)
    {
        auto scenario = draw();

        if (SoakOracle::expect (scenario).silenceMs <= silenceBudgetMs)
            return scenario;
    }

    // Nothing that would wait fits any more: a device that answers everything at once.
    auto scenario = draw();
    scenario.device.faults.clear();
    scenario.hostFault = SoakScenario::HostFault::none;
    scenario.device.acknowledgesUpdateMode = true;
    scenario.device.updateProductId = scenario.device.productId;
    return scenario;
}

SoakScenario SoakScenarioGenerator::draw()
{
    SoakScenario scenario;
    auto& device = scenario.device;
    device.portName = portName;
    chooseModel (scenario);
    chooseIdentity (device);

    // Some devices take their time, so that replies and requests cross in other orders.
    device.replyLatencyMs = chance (40) ? between (0, 3) : 0;
    device.linkBytesPerSecond = chance (20) ? 100000.0 : 0.0;

    device.startsInUpdateMode = chance (25);
    device.acknowledgesUpdateMode = chance (85);

    // A device that acknowledges the switch is spoken to under its product ID afterwards,
    // so only the others may answer to an update product ID of their own.
    if ((device.startsInUpdateMode || ! device.acknowledgesUpdateMode) && chance (50))
        device.updateProductId = (juce::uint8) (device.productId ^ 0x40);

    device.memoryMap = chooseMemoryMap (scenario.model);

    juce::uint32 regionsEnd = 0;

    for (const auto& region : device.memoryMap.regions)
        regionsEnd = std::max (regionsEnd, region.start + region.length);

    scenario.records = chooseRecords (regionsEnd, device.memoryMap.blockSize);
    scenario.imageOverHttp = chance (50);

    // Records may run past a region, over flash that no region lists.
    const auto recordsEnd = scenario.records.empty() ? 0 : scenario.records.back().getEnd();
    device.memoryMap.flashStart = 0;
    device.memoryMap.flashSize = std::max ({ lowestFlashEnd, regionsEnd, recordsEnd });

    chooseFault (scenario);
    return scenario;
}

void SoakScenarioGenerator::chooseModel (SoakScenario& scenario)
{
    using Model = SoakScenario::Model;
    auto& device = scenario.device;
    const auto roll = between (0, 99);
    scenario.model = roll < 40 ? Model::plain
                   : roll < 55 ? Model::answersIdentityTwice
                   : roll < 75 ? Model::preparesLowPages
                               : Model::reopensPorts;

    switch (scenario.model)
    {
        case Model::plain:
            device.brand = chance (50) ? TargetBrand::Calvio : TargetBrand::Brisma;
            device.familyId = (juce::uint8) between (0x01, 0x19);
            device.productId = (juce::uint8) between (0x01, 0x3F);
            break;

        case Model::answersIdentityTwice:
        case Model::preparesLowPages:
            device.brand = TargetBrand::Calvio;
            device.familyId = 0x1A;
            device.productId = scenario.model == Model::answersIdentityTwice ? 2 : 1;
            device.answersIdentityTwice = scenario.model == Model::answersIdentityTwice;
            break;

        case Model::reopensPorts:
            device.brand = TargetBrand::Brisma;
            device.familyId = 0x5C;
            device.productId = 4;
            device.needsReopenAfterUpdateMode = true;
            break;
    }

    device.updateProductId = device.productId;
}

void SoakScenarioGenerator::chooseIdentity (SimulatedDeviceConfig& device)
{
    using Form = SimulatedDeviceConfig::IdentityForm;
    static constexpr Form forms[] = { Form::fourBytes, Form::fiveBytes, Form::withTexts, Form::withTexts };

    device.deviceId = (juce::uint8) between (0x00, 0x7E);
    device.identityForm = forms[between (0, 3)];
    device.modelText = "SP-" + juce::String (between (1, 99));
    device.name = (chance (30) ? "  Pedal " : "Pedal ") + juce::String (between (1, 999)) + (chance (30) ? " " : "");
    device.versionB0 = (juce::uint8) between (1, 3);
    device.versionB1 = (juce::uint8) (between (0, 9) << 4 | between (0, 9));
}

SimulatedMemoryMap SoakScenarioGenerator::chooseMemoryMap (SoakScenario::Model model)
{
    static constexpr int blockSizes[] = { 16, 24, 64, 100, 128, 256 };
    const auto roll = between (0, 99);
    // clang-format off
    const auto count = roll < 5 ? 0 : roll < 50 ? 1 : roll < 80 ? 2 : 3;
    // clang-format on
    const auto startsAtZero = model == SoakScenario::Model::preparesLowPages ? chance (80) : chance (50);

    SimulatedMemoryMap map;
    map.blockSize = (juce::uint16) blockSizes[between (0, 5)];
    map.regions.clear();
    auto cursor = startsAtZero ? 0u : (juce::uint32) between (0x01, 0x400);

    for (int i = 0; i < count; ++i)
    {
        const auto start = cursor + (i == 0 ? 0u : (juce::uint32) between (0, 0x600));
        const auto length = (juce::uint32) between (0x20, 0x1000);
        map.regions.push_back ({ start, length });
        cursor = start + length;
    }

    return map;
}

std::vector<SoakScenario::Record> SoakScenarioGenerator::chooseRecords (juce::uint32 around, int blockSize)
{
    std::vector<SoakScenario::Record> records;
    const auto count = between (1, 4);
    auto cursor = (juce::uint32) between (0, 0x300);

    for (int i = 0; i < count; ++i)
    {
        const auto address = cursor + (juce::uint32) between (0, (int) std::max (0x100u, around / 4));
        const auto length = (juce::uint32) between (1, 400);
        records.push_back ({ address, chooseData (address, length, blockSize) });
        cursor = address + length;
    }

    return records;
}

std::vector<juce::uint8> SoakScenarioGenerator::chooseData (juce::uint32 address, juce::uint32 length, int blockSize)
{
    if (chance (10))
        return std::vector<juce::uint8> (length, 0xFF);

    auto data = ImageFileBuilder::patternBytes (address, length);

    // A stretch of erased bytes long enough to hold whole erased blocks of most sizes.
    if (chance (40))
    {
        const auto erasedLength = std::min ((int) length, between (blockSize, 3 * blockSize));
        const auto erasedStart = between (0, (int) length - erasedLength);
        std::fill_n (data.begin() + erasedStart, erasedLength, 0xFF);
    }

    return data;
}

void SoakScenarioGenerator::chooseFault (SoakScenario& scenario)
{
    const auto roll = between (0, 99);

    if (roll < 20)
        return;

    if (roll < 30)
        chooseHostFault (scenario);
    else
        scenario.device.faults.push_back (chooseDeviceFault (scenario));
}

void SoakScenarioGenerator::chooseHostFault (SoakScenario& scenario)
{
    using HostFault = SoakScenario::HostFault;
    const auto roll = between (0, 2);
    const auto lastRecordLength = scenario.records.empty() ? 0 : (int) scenario.records.back().data.size();

    if (roll == 0 && lastRecordLength >= 2)
    {
        // Cut inside the last record's data, so that its header promises more than is left.
        scenario.hostFault = HostFault::imageCutShort;
        scenario.cutShort = (size_t) between (1, lastRecordLength - 1);
    }
    else if (roll == 1)
    {
        scenario.hostFault = HostFault::imageMissing;
    }
    else
    {
        scenario.hostFault = HostFault::portsRefuse;
        scenario.inputOpeningsLeft = scenario.model == SoakScenario::Model::reopensPorts ? between (0, 1) : 0;
    }
}

SimulatedFault SoakScenarioGenerator::chooseDeviceFault (const SoakScenario& scenario)
{
    std::map<juce::uint8, int> requestsSent;

    for (const auto& step : SoakOracle::stepsOf (scenario))
        if (step.kind == SoakStep::Kind::request)
            ++requestsSent[step.command];

    // Only requests this device is sent: no version while it waits, no write when nothing
    // lies in its regions.
    std::vector<juce::uint8> commands;

    for (const auto command : faultyCommands)
        if (requestsSent[command] > 0)
            commands.push_back (command);

    SimulatedFault fault;
    fault.kind = chooseKind();
    fault.command = commands[(size_t) between (0, (int) commands.size() - 1)];
    fault.first = between (1, requestsSent[fault.command]);
    fault.errorCode = (juce::uint8) between (0, 15);

    if (fault.kind == SimulatedFault::Kind::errorReply && fault.command == DeviceCommand::WriteBlock && chance (35))
    {
        fault.errorCode = 12;
        fault.times = between (1, 3);
    }

    return fault;
}

SimulatedFault::Kind SoakScenarioGenerator::chooseKind()
{
    using Kind = SimulatedFault::Kind;
    const auto roll = between (0, 99);

    return roll < 30 ? Kind::errorReply
         : roll < 44 ? Kind::noReply
         : roll < 56 ? Kind::badChecksum
         : roll < 68 ? Kind::wrongKind
         : roll < 80 ? Kind::tooShort
         : roll < 92 ? Kind::vanishAfterReply
                     : Kind::strayMessage;
}

int SoakScenarioGenerator::between (int low, int high)
{
    return std::uniform_int_distribution<int> (low, high) (random);
}

bool SoakScenarioGenerator::chance (int percent)
{
    return between (0, 99) < percent;
}
