#include <benchmark/benchmark.h>

#include "bench/ProgrammingSetUp.h"
#include "bench/TranscriptFreeDevice.h"
#include "device/FirmwareImage.h"
#include "device/MidiTargetDevice.h"

namespace
{
    constexpr juce::uint32 emptyRecords = 1000000;
    constexpr juce::uint32 firstEmptyRecord = 0x1000;
    constexpr juce::uint32 dataAddress = 0xF8000;
    constexpr juce::uint32 imageSpan = 0x200000;   // the device's two regions together

    // An image that lists a million records without data, one address apart, then one
    // block of data after them: 8 MB of record headers around 256 bytes to write.
    juce::MemoryBlock imageOfEmptyRecords()
    {
        juce::MemoryOutputStream file (emptyRecords * 8 + 1024);
        file.writeIntBigEndian (0x005C0005);

        for (juce::uint32 i = 0; i < emptyRecords; ++i)
        {
            file.writeIntBigEndian ((int) (firstEmptyRecord + i));
            file.writeIntBigEndian (0);
        }

        file.writeIntBigEndian ((int) dataAddress);
        file.writeIntBigEndian (ProgrammingSetUp::blockSize);

        for (juce::uint32 address = dataAddress; address < dataAddress + ProgrammingSetUp::blockSize; ++address)
            file.writeByte ((char) ProgrammingSetUp::imageByteAt (address));

        return file.getMemoryBlock();
    }

    // Indexing the image and reading it across the device's first region, as the
    // programming sequence does, without a device.
    void indexAndReadAMillionEmptyRecords (benchmark::State& state)
    {
        const auto image = imageOfEmptyRecords();
        std::vector<juce::uint8> buffer (ProgrammingSetUp::blockSize);

        for ([[maybe_unused]] auto iteration : state)
        {
            juce::MemoryInputStream stream (image, false);
            FirmwareImage firmware (stream);
            firmware.parse();
            int delivered = 0;

            for (juce::uint64 address = 0; address < imageSpan / 2;)
                delivered += firmware.readBlock (address, buffer.data(), (int) buffer.size());

            if (delivered != ProgrammingSetUp::blockSize)
                state.SkipWithError ("the data record was not read");
        }
    }

    // The whole update of that image into a device without a transcript over the
    // virtual ports: the switch, the memory map, the index and the one block.
    void programAMillionEmptyRecords (benchmark::State& state)
    {
        const auto image = imageOfEmptyRecords();
        VirtualMidiPortSystem ports;
        TranscriptFreeDevice simulated (ports, ProgrammingSetUp::deviceFor (imageSpan, {}));
        ports.addInput ("Pedal");
        ports.addOutput ("Pedal");
        MidiTargetDevice device (ProgrammingSetUp::productOf (simulated.getConfig()), ports, ReplyTimeouts {});
        device.setPortIndices (0, 0);

        for ([[maybe_unused]] auto iteration : state)
        {
            try
            {
                juce::MemoryInputStream stream (image, false);
                device.update (stream, nullptr, nullptr);
            }
            catch (const std::exception& e)
            {
                state.SkipWithError (e.what());
            }
        }

        if (simulated.readFlash (dataAddress, 1).front() != ProgrammingSetUp::imageByteAt (dataAddress))
            state.SkipWithError ("the device's flash does not hold the data record");
    }
}

BENCHMARK (indexAndReadAMillionEmptyRecords)->Unit (benchmark::kMillisecond);
BENCHMARK (programAMillionEmptyRecords)->Unit (benchmark::kMillisecond)->UseRealTime();
