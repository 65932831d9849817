#pragma once

#include "catalogue/TargetProduct.h"
#include "device/sysex/SysexHeader.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <string>
#include <vector>

/** Small helpers shared by the tests of the device model, protocol and programming. */
namespace devicetest
{
    using Bytes = std::vector<juce::uint8>;

    /** Upper-case hex bytes separated by spaces, as wire dumps are written. */
    std::string hexOf (const Bytes& bytes);

    /** A whole Super7 message: header (with its command) and payload, packed, with its checksum. */
    Bytes superSeven (const SysexHeader& header, const Bytes& payload);

    SysexHeader calvioHeader (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId, juce::uint8 command);
    SysexHeader brismaHeader (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId, juce::uint8 command);

    /** The command and unpacked payload of a message the host sent, as "7A: 00 00 01 00 ...". */
    std::string decodeHostMessage (const Bytes& message);

    /** A catalogue product with one port. */
    TargetProduct makeProduct (TargetBrand brand, int familyId, int productId, int updateProductId,
                               const juce::String& portName, int portCount = 1);

    /** What action threw, as a kind and the text of what, or empty when it threw nothing:
        "interrupted: ...", "target 0x7A/12: ...", "host 1: ...", "comm: ...", "image: ...".
    */
    std::string thrownBy (const std::function<void()>& action);
}
