#include "device/ports/BoundedMidiCallback.h"
#include "tests/ports/TestMessages.h"
#include "tests/ports/VirtualPortsTest.h"

// Both backends hand on a SysEx message up to MidiInputPort::maxSysexBytes long, F0 and
// F7 included, and drop a longer one before anyone reads it.
namespace
{
    struct SysexSizeCase
    {
        const char* name;
        int size;
        bool handedOn;
    };

    void PrintTo (const SysexSizeCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    juce::MidiMessage sysexOfSize (int size)
    {
        std::vector<juce::uint8> data ((size_t) size - 2);

        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<juce::uint8> (i % 128);

        return sysex (data);
    }

    // Keeps what JUCE's input would be told of a message: its pieces, then the whole.
    class PieceRecorder : public juce::MidiInputCallback
    {
    public:
        void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
        {
            wholeSizes.push_back (message.getRawDataSize());
        }

        void handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int size, double) override
        {
            pieceSizes.push_back (size);
        }

        std::vector<int> pieceSizes;
        std::vector<int> wholeSizes;
    };

    constexpr int pieceSize = 4096;

    class SysexBound : public VirtualPortsTest,
                       public ::testing::WithParamInterface<SysexSizeCase>
    {};
}

TEST_P (SysexBound, OnTheVirtualPorts)
{
    ASSERT_TRUE (openHostPorts());
    const auto marker = numberedSysex (1);

    connection->sendToHost (sysexOfSize (GetParam().size));
    connection->sendToHost (marker);

    // In order: once the marker is in, whatever came before it is too.
    ASSERT_TRUE (host.recorder.waitForCalls (GetParam().handedOn ? 2 : 1));
    const auto events = host.recorder.getEvents();
    ASSERT_EQ (events.size(), GetParam().handedOn ? 2 : 1);
    EXPECT_EQ (events[events.size() - 1], hexOf (marker));

    if (GetParam().handedOn)
        EXPECT_EQ (events[0].length(), GetParam().size * 3 - 1);
}

TEST_P (SysexBound, InJucesBackend)
{
    PieceRecorder receiver;
    BoundedMidiCallback bounded (receiver);
    const auto message = sysexOfSize (GetParam().size);
    std::vector<int> piecesBelowTheBound;

    // JUCE reports the bytes so far after each piece, then calls with the whole message.
    for (int soFar = pieceSize; soFar < GetParam().size; soFar += pieceSize)
    {
        bounded.handlePartialSysexMessage (nullptr, message.getRawData(), soFar, 0.0);

        if (soFar < MidiInputPort::maxSysexBytes)
            piecesBelowTheBound.push_back (soFar);
    }

    bounded.handleIncomingMidiMessage (nullptr, message);

    EXPECT_EQ (receiver.pieceSizes, piecesBelowTheBound);
    EXPECT_EQ (receiver.wholeSizes, GetParam().handedOn ? std::vector<int> { GetParam().size } : std::vector<int>());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Sizes, SysexBound, ::testing::Values (
    SysexSizeCase { "Short",              64,                                 true },
    SysexSizeCase { "AtTheBound",         MidiInputPort::maxSysexBytes,       true },
    SysexSizeCase { "OneByteOver",        MidiInputPort::maxSysexBytes + 1,   false },
    SysexSizeCase { "TwentyFourMegabytes", 24 * 1024 * 1024,                  false }),
    [] (const auto& info) { return std::string (info.param.name); });
// clang-format on
