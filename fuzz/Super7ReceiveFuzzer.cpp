#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/SysexException.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

#include <optional>

// Input: pieces, each a length byte followed by that many bytes of a received message,
// appended one after the other. The receiver holds no state that depends on where the
// pieces were cut, so the same bytes appended in one call must give the same message.
namespace
{
    struct Received
    {
        std::optional<pex::SysexErrorKind> error;
        bool complete = false;
        FuzzInput::Bytes payload;
        int command = -1;   // -1: too short to hold one

        bool operator== (const Received& other) const
        {
            return error == other.error && complete == other.complete
                && payload == other.payload && command == other.command;
        }
    };

    Received receive (pex::Super7RxSysexMsg& message, const std::vector<FuzzInput::Bytes>& pieces)
    {
        Received received;

        try
        {
            for (const auto& piece : pieces)
                message.Append (piece.data(), (juce::uint32) piece.size());
        }
        catch (const pex::SysexException& e)
        {
            received.error = e.GetKind();
        }

        received.complete = message.IsComplete();
        received.payload.assign (message.GetData(), message.GetData() + message.GetLength());

        try
        {
            received.command = message.GetCommand();
        }
        catch (const pex::SysexException& e)
        {
            fuzzExpect (e.GetKind() == pex::SysexErrorKind::InvalidHeader, "GetCommand throws InvalidHeader only");
        }

        return received;
    }

    void readPayloadExactly (pex::Super7RxSysexMsg& message, const FuzzInput::Bytes& payload)
    {
        FuzzInput::Bytes copy (payload.size());
        fuzzExpect (message.Read (copy.data(), (juce::uint32) copy.size()), "the whole payload can be read");
        fuzzExpect (copy == payload, "Read returns the bytes GetData points at");

        juce::uint8 beyond = 0;
        fuzzExpect (! message.Read (&beyond, 1), "nothing can be read past the payload");
    }

    void readInEveryWay (pex::Super7RxSysexMsg& message)
    {
        message.ReadByte();
        message.ReadWord();
        message.ReadDWord();
        message.ReadString();
        message.ReadString();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    FuzzInput input (data, size);
    std::vector<FuzzInput::Bytes> pieces;
    FuzzInput::Bytes whole;

    while (! input.isExhausted())
    {
        pieces.push_back (input.counted());
        whole.insert (whole.end(), pieces.back().begin(), pieces.back().end());
    }

    pex::Super7RxSysexMsg inPieces;
    pex::Super7RxSysexMsg inOneGo;
    const auto received = receive (inPieces, pieces);
    fuzzExpect (received == receive (inOneGo, { whole }), "cutting a message into pieces changes nothing");

    if (received.complete && ! received.error.has_value())
        readPayloadExactly (inPieces, received.payload);

    // Even a message that failed its checks must be safe to read.
    readInEveryWay (inOneGo);

    return 0;
}
