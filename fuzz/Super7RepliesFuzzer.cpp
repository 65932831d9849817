#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

// Input: a flag byte (bit 0: three-byte manufacturer ID), the manufacturer ID (two
// bytes or one), device, family and product IDs and command, a 16-bit payload length
// and the payload, then read operations, one byte each (the count of a Read follows it).
//
// The reply is framed and packed here, independently of the program's sender, and both
// must agree; the receiver must then give back exactly the header and payload, and every
// read must return the payload bytes a cursor of its own says it should.
namespace
{
    using Bytes = FuzzInput::Bytes;

    SysexHeader readHeader (FuzzInput& input)
    {
        SysexHeader header;
        header.extendedId = input.byte() & 1;

        // A one-byte ID of 00 would announce a three-byte one.
        header.manufacturerId = header.extendedId != 0 ? (juce::uint16) (input.bigEndian16() & 0x7F7F)
                                                       : (juce::uint16) (1 + input.byte() % 0x7F);
        header.deviceId = input.byte() & 0x7F;
        header.familyId = input.byte() & 0x7F;
        header.productId = input.byte() & 0x7F;
        header.command = input.byte() & 0x7F;
        return header;
    }

    Bytes frame (const SysexHeader& header, const Bytes& payload)
    {
        Bytes wire { 0xF0 };

        if (header.extendedId != 0)
            wire.insert (wire.end(), { 0x00, (juce::uint8) (header.manufacturerId >> 8), (juce::uint8) (header.manufacturerId & 0xFF) });
        else
            wire.push_back ((juce::uint8) header.manufacturerId);

        wire.insert (wire.end(), { header.deviceId, header.familyId, header.productId, header.command });

        for (size_t start = 0; start < payload.size(); start += 7)
        {
            const auto highBitsAt = wire.size();
            wire.push_back (0);

            for (size_t i = start; i < std::min (start + 7, payload.size()); ++i)
            {
                if ((payload[i] & 0x80) != 0)
                    wire[highBitsAt] |= (juce::uint8) (0x40 >> (i - start));

                wire.push_back (payload[i] & 0x7F);
            }
        }

        juce::uint8 checksum = 0;

        for (size_t i = 1; i < wire.size(); ++i)
            checksum ^= wire[i];

        wire.insert (wire.end(), { (juce::uint8) (checksum & 0x7F), 0xF7 });
        return wire;
    }

    Bytes sent (const SysexHeader& header, const Bytes& payload)
    {
        pex::Super7TxSysexMsg message (header);
        message.Append (payload.data(), (juce::uint32) payload.size());
        message.Complete();
        return { message.GetData(), message.GetData() + message.GetLength() };
    }

    /** Where the reads should be, and what they should return. */
    class ExpectedPayload
    {
    public:
        explicit ExpectedPayload (const Bytes& payloadToRead) : payload (payloadToRead) {}

        // The bytes past the end are left to the implementation; only those there are compared.
        void checkNumber (juce::uint32 value, size_t width, const char* property)
        {
            for (size_t i = 0; i < width; ++i, ++cursor)
                if (cursor < payload.size())
                    fuzzExpect (((value >> (8 * (width - 1 - i))) & 0xFF) == payload[cursor], property);

            cursor = std::min (cursor, payload.size());
        }

        void checkString (const juce::String& text)
        {
            std::string expected;

            for (; cursor < payload.size() && payload[cursor] != 0; ++cursor)
                if (expected.size() < 1023)
                    expected += (char) payload[cursor];

            cursor = std::min (cursor + 1, payload.size());

            std::string got;

            for (auto p = text.getCharPointer(); ! p.isEmpty();)
                got += (char) p.getAndAdvance();

            fuzzExpect (got == expected, "ReadString returns the text up to 00, at most 1023 Latin-1 characters");
        }

        void checkRead (bool allRead, const Bytes& copied, size_t count)
        {
            const auto available = std::min (count, payload.size() - cursor);
            fuzzExpect (allRead == (available == count), "Read says whether all bytes were there");
            fuzzExpect (std::equal (copied.begin(), copied.begin() + (std::ptrdiff_t) available,
                                    payload.begin() + (std::ptrdiff_t) cursor),
                        "Read copies the bytes at the cursor");
            cursor += available;
        }

    private:
        const Bytes& payload;
        size_t cursor = 0;
    };

    void readOnce (pex::Super7RxSysexMsg& reply, ExpectedPayload& expected, FuzzInput& operations)
    {
        switch (operations.byte() % 5)
        {
            case 0: expected.checkNumber (reply.ReadByte(), 1, "ReadByte returns the next byte"); break;
            case 1: expected.checkNumber (reply.ReadWord(), 2, "ReadWord is big-endian"); break;
            case 2: expected.checkNumber (reply.ReadDWord(), 4, "ReadDWord is big-endian"); break;
            case 3: expected.checkString (reply.ReadString()); break;
            default:
            {
                const auto count = operations.byte();
                Bytes copied (count);
                const auto allRead = reply.Read (copied.data(), count);
                expected.checkRead (allRead, copied, count);
                break;
            }
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    FuzzInput input (data, size);
    const auto header = readHeader (input);
    const auto payload = input.bytes (input.bigEndian16());
    const auto wire = frame (header, payload);
    fuzzExpect (wire == sent (header, payload), "the sender packs as the wire format says");

    pex::Super7RxSysexMsg reply;
    reply.Append (wire.data(), (juce::uint32) wire.size());
    fuzzExpect (reply.IsComplete(), "a well-framed reply completes");
    fuzzExpect (reply.GetCommand() == header.command, "the command is received");
    fuzzExpect (reply.GetHeaderLength() == (header.extendedId != 0 ? 8u : 6u), "the header length follows the ID's form");
    fuzzExpect (Bytes (reply.GetData(), reply.GetData() + reply.GetLength()) == payload, "the payload is unpacked");

    ExpectedPayload expected (payload);

    while (! input.isExhausted())
        readOnce (reply, expected, input);

    return 0;
}
