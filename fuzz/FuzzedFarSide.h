#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "device/sysex/SysexHeader.h"
#include "fuzz/FuzzInput.h"

#include <memory>
#include <mutex>
#include <vector>

/** The far side of a virtual MIDI port that answers each message of the host with
    messages made from fuzz input, and never stays silent: every host request gets at
    least one SysEx message at once, so no exchange waits for its time-out.

    Script, read as each request arrives: a kind byte, then what the kind needs.
      kind % 5 == 0: the reply the request expects, with a counted payload;
      1: an error reply with two payload bytes (command, error code);
      2: a reply of any command (a byte) with a counted payload;
      3: a raw SysEx message, F0, counted bytes as they are, F7;
      4: two answers, each a kind byte (% 4) and what it needs.
    Replies go out under the product ID the request was sent to. An exhausted script
    answers with the expected reply and no payload. A device that
    answers its identity request twice gets a second copy when the script gave one.

    It attaches to its port name when made and detaches first when destroyed. The
    connection's delivery thread reads the script; nothing else does.
*/
class FuzzedFarSide : private VirtualMidiEndpoint
{
public:
    FuzzedFarSide (VirtualMidiPortSystem& ports, const juce::String& portName,
                   const SysexHeader& replyHeader, bool answersIdentityTwice, FuzzInput script);
    ~FuzzedFarSide() override;

private:
    void messageFromHost (const juce::MidiMessage& message) override;

    std::vector<juce::MidiMessage> answersTo (juce::uint8 request);
    juce::MidiMessage answerOfKind (int kind, juce::uint8 request);
    juce::MidiMessage reply (juce::uint8 command, const FuzzInput::Bytes& payload) const;
    static juce::uint8 expectedReplyTo (juce::uint8 request) noexcept;

    const SysexHeader replyHeader;
    const bool answersIdentityTwice;

    // The product ID of the request being answered, under which its answers go: the host
    // takes nothing else for a reply. Delivery thread only.
    juce::uint8 requestProductId = 0;
    FuzzInput script;

    // Guards connection, which the destructor takes away while a delivery may be sending.
    std::mutex connectionLock;
    std::unique_ptr<VirtualEndpointConnection> connection;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FuzzedFarSide)
};
