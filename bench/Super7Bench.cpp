#include <benchmark/benchmark.h>

#include "device/DeviceCommand.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"

#include <vector>

namespace
{
    // A Calvio device in update mode, addressed for a write.
    SysexHeader writeBlockHeader()
    {
        SysexHeader header;
        header.manufacturerId = 0x0006;
        header.deviceId = 0x7F;
        header.familyId = 0x05;
        header.productId = 0x02;
        header.command = DeviceCommand::WriteBlock;
        return header;
    }

    // Data with every high bit pattern, so that every group's high-bits byte varies.
    std::vector<juce::uint8> payloadOf (size_t size)
    {
        std::vector<juce::uint8> data (size);

        for (size_t i = 0; i < size; ++i)
            data[i] = (juce::uint8) (i * 37 + 11);

        return data;
    }

    // A write request as the programming sequence builds it: address, length, data.
    void buildWriteBlock (pex::Super7TxSysexMsg& message, const std::vector<juce::uint8>& data)
    {
        message.Reserve ((juce::uint32) data.size() + 6);
        message.AppendDWord (0x00012300);
        message.AppendWord ((juce::uint16) data.size());
        message.Append (data.data(), (juce::uint32) data.size());
        message.Complete();
    }

    // What a receiver reads back: the address and length, then the data.
    bool unpacksTo (const std::vector<juce::uint8>& wire, const std::vector<juce::uint8>& data)
    {
        pex::Super7RxSysexMsg received;
        received.Append (wire.data(), (juce::uint32) wire.size());
        std::vector<juce::uint8> read (data.size());

        return received.IsComplete()
            && received.ReadDWord() == 0x00012300
            && received.ReadWord() == (juce::uint16) data.size()
            && received.Read (read.data(), (juce::uint32) read.size())
            && read == data;
    }

    void setThroughput (benchmark::State& state, size_t payloadSize, size_t wireSize)
    {
        state.SetBytesProcessed (state.iterations() * (int64_t) payloadSize);
        state.counters["wireBytes"] = (double) wireSize;
    }

    // Packing a whole write request, from its header to its F7; bytes/s counts payload bytes.
    void packWriteBlock (benchmark::State& state)
    {
        const auto data = payloadOf ((size_t) state.range (0));
        const auto header = writeBlockHeader();
        juce::uint32 wireSize = 0;

        for ([[maybe_unused]] auto iteration : state)
        {
            pex::Super7TxSysexMsg message (header);
            buildWriteBlock (message, data);
            wireSize = message.GetLength();
            benchmark::DoNotOptimize (message.GetData());
        }

        setThroughput (state, data.size(), wireSize);
    }

    // Receiving that request in one piece with its checksum check, and reading its
    // payload out; bytes/s counts payload bytes.
    void receiveWriteBlock (benchmark::State& state)
    {
        const auto data = payloadOf ((size_t) state.range (0));
        pex::Super7TxSysexMsg message (writeBlockHeader());
        buildWriteBlock (message, data);
        const std::vector<juce::uint8> wire (message.GetData(), message.GetData() + message.GetLength());

        if (! unpacksTo (wire, data))
        {
            state.SkipWithError ("the received message does not give back the packed payload");
            return;
        }

        std::vector<juce::uint8> read (data.size() + 6);

        for ([[maybe_unused]] auto iteration : state)
        {
            pex::Super7RxSysexMsg received;
            received.Append (wire.data(), (juce::uint32) wire.size());
            received.Read (read.data(), (juce::uint32) read.size());
            benchmark::DoNotOptimize (read.data());
        }

        setThroughput (state, data.size(), wire.size());
    }
}

BENCHMARK (packWriteBlock)->ArgName ("payload")->Arg (256)->Arg (4096)->Arg (65536)->Arg (1 << 20);
BENCHMARK (receiveWriteBlock)->ArgName ("payload")->Arg (256)->Arg (4096)->Arg (65536)->Arg (1 << 20);
