#include "sim/SimulatedReplies.h"

#include "device/sysex/Super7TxSysexMsg.h"
#include "sim/SimulatedCommand.h"

namespace
{
    juce::MidiMessage toMidi (pex::Super7TxSysexMsg& message)
    {
        message.Complete();
        return juce::MidiMessage (message.GetData(), (int) message.GetLength());
    }

    /** The text's characters as the device's 8-bit character set has them, then 00. */
    void appendText (pex::Super7TxSysexMsg& message, const juce::String& text)
    {
        for (auto character : text)
            message.AppendByte (character > 0 && character < 256 ? (juce::uint8) character : (juce::uint8) '?');

        message.AppendByte (0);
    }
}

SimulatedReplies::SimulatedReplies (const SimulatedDeviceConfig& configToUse)
    : config (configToUse)
{
}

SysexHeader SimulatedReplies::manufacturerOf (TargetBrand brand) noexcept
{
    SysexHeader header;

    switch (brand)
    {
        case TargetBrand::Calvio:
            header.manufacturerId = 0x0006;
            header.extendedId = 0;
            break;
        case TargetBrand::Brisma:
            header.manufacturerId = 0x0010;
            header.extendedId = 1;
            break;
        case TargetBrand::Other: break;
    }

    return header;
}

juce::MidiMessage SimulatedReplies::identityReply (bool inUpdateMode) const
{
    const auto header = headerFor (inUpdateMode, SimulatedCommand::identityReply);
    pex::Super7TxSysexMsg message (header);
    message.AppendByte (config.deviceId);
    message.AppendByte (header.familyId);
    message.AppendByte (header.productId);
    message.AppendByte (inUpdateMode ? 1 : 0);

    if (config.identityForm != SimulatedDeviceConfig::IdentityForm::fourBytes)
        message.AppendByte (0);

    if (config.identityForm == SimulatedDeviceConfig::IdentityForm::withTexts)
    {
        appendText (message, config.modelText);
        appendText (message, config.name);
    }

    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::versionReply (bool inUpdateMode) const
{
    pex::Super7TxSysexMsg message (headerFor (inUpdateMode, SimulatedCommand::versionReply));
    message.AppendByte (config.versionB0);
    message.AppendByte (config.versionB1);
    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::memoryMapReply (bool inUpdateMode, int regionsNotCarried) const
{
    const auto& map = config.memoryMap;
    pex::Super7TxSysexMsg message (headerFor (inUpdateMode, SimulatedCommand::memoryMapReply));
    message.AppendByte (0);
    message.AppendWord (map.blockSize);
    // The count is one byte: regions past the 255th go unlisted.
    const auto count = std::min<size_t> (map.regions.size(), (size_t) (255 - regionsNotCarried));
    message.AppendByte ((juce::uint8) (count + (size_t) regionsNotCarried));

    for (size_t i = 0; i < count; ++i)
    {
        message.AppendDWord (map.regions[i].start);
        message.AppendDWord (map.regions[i].length);
    }

    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::ack (bool inUpdateMode) const
{
    pex::Super7TxSysexMsg message (headerFor (inUpdateMode, SimulatedCommand::ack));
    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::errorReply (bool inUpdateMode, juce::uint8 rejectedCommand, juce::uint8 errorCode) const
{
    pex::Super7TxSysexMsg message (headerFor (inUpdateMode, SimulatedCommand::errorReply));
    message.AppendByte (rejectedCommand);
    message.AppendByte (errorCode);
    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::unsolicited (bool inUpdateMode) const
{
    pex::Super7TxSysexMsg message (headerFor (inUpdateMode, SimulatedCommand::unsolicited));
    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::fromStranger (bool inUpdateMode) const
{
    auto header = headerFor (inUpdateMode, SimulatedCommand::unsolicited);
    header.manufacturerId = 0x7D;
    header.extendedId = 0;
    pex::Super7TxSysexMsg message (header);
    return toMidi (message);
}

juce::MidiMessage SimulatedReplies::truncated() const
{
    const auto manufacturer = manufacturerOf (config.brand);
    const auto low = (juce::uint8) (manufacturer.manufacturerId & 0xFF);

    if (manufacturer.extendedId != 0)
    {
        const juce::uint8 bytes[] = { 0xF0, 0x00, (juce::uint8) (manufacturer.manufacturerId >> 8), low, 0xF7 };
        return juce::MidiMessage (bytes, (int) sizeof (bytes));
    }

    const juce::uint8 bytes[] = { 0xF0, low, 0xF7 };
    return juce::MidiMessage (bytes, (int) sizeof (bytes));
}

juce::MidiMessage SimulatedReplies::withBadChecksum (const juce::MidiMessage& message)
{
    juce::MemoryBlock bytes (message.getRawData(), (size_t) message.getRawDataSize());

    // The checksum stands just ahead of the closing F7.
    if (bytes.getSize() >= 3)
        bytes[bytes.getSize() - 2] ^= 0x01;

    return juce::MidiMessage (bytes.getData(), (int) bytes.getSize());
}

juce::MidiMessage SimulatedReplies::withNextFamilyId (const juce::MidiMessage& message)
{
    juce::MemoryBlock bytes (message.getRawData(), (size_t) message.getRawDataSize());

    // The family ID follows the manufacturer ID and the device ID; the checksum, the XOR
    // of everything between F0 and itself, changes by what the family ID changes by.
    const auto familyIndex = (size_t) (bytes.getSize() > 1 && bytes[1] == 0 ? 5 : 3);

    if (bytes.getSize() > familyIndex + 2)
    {
        const auto family = (juce::uint8) bytes[familyIndex];
        const auto nextFamily = (juce::uint8) ((family + 1) & 0x7F);
        bytes[familyIndex] = (char) nextFamily;
        bytes[bytes.getSize() - 2] ^= (char) (family ^ nextFamily);
    }

    return juce::MidiMessage (bytes.getData(), (int) bytes.getSize());
}

juce::uint8 SimulatedReplies::commandOf (const juce::MidiMessage& message) noexcept
{
    const auto* raw = message.getRawData();
    const auto size = message.getRawDataSize();

    // A second byte of 00 starts a three-byte manufacturer ID; the command ends the prefix.
    const auto commandIndex = size > 1 && raw[1] == 0 ? 7 : 5;
    return size > commandIndex ? raw[commandIndex] : 0;
}

SysexHeader SimulatedReplies::headerFor (bool inUpdateMode, juce::uint8 command) const noexcept
{
    auto header = manufacturerOf (config.brand);
    header.deviceId = config.deviceId;
    header.familyId = config.familyId;
    header.productId = inUpdateMode ? config.updateProductId : config.productId;
    header.command = command;
    return header;
}
