#pragma once

#include "device/ReplyTimeouts.h"
#include "device/TargetDevice.h"
#include "device/VersionNumber.h"
#include "device/ports/MidiPortSystem.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"
#include "device/sysex/SysexHeader.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** A device reached through one MIDI input and one MIDI output, spoken to in Super7
    SysEx requests that each await one reply.

    Only messages headed with the manufacturer, family and product IDs of the latest
    request count as replies: whatever else arrives on the port comes from another
    device, and the worker goes on waiting for its reply. SysEx messages longer than any
    reply are dropped unread.

    Threads: one worker at a time drives the device (the scan, later the update) and
    calls everything public here. The backend's MIDI input thread calls the input
    handler, which touches only what replyLock guards and replyEvent. The ports
    are open only during an exchange; destroying the device closes them first, which
    waits for a running input callback, so nothing calls into a device that is going.
*/
class MidiTargetDevice : public TargetDevice,
                         private juce::MidiInputCallback
{
public:
    MidiTargetDevice (const TargetProduct& productToCopy, MidiPortSystem& portSystemToUse,
                      const ReplyTimeouts& timeoutsToUse);
    ~MidiTargetDevice() override;

    juce::String getVersion() const override;
    int compareVersions (const juce::String& a, const juce::String& b) const override;
    juce::String getDeviceName() const override;
    bool isWaitingForUpdate() const override;

    /** How long each request waits for its reply. */
    const ReplyTimeouts& getReplyTimeouts() const noexcept   { return timeouts; }

    /** The version read by readVersion, as numbers: 0.0 until then. */
    VersionNumber getVersionNumber() const noexcept;

    void update (juce::InputStream& image, StatusReporter* status, ProgressReporter* progress) override;

    /** The positions, in the port system's latest name lists, of the pair to open. */
    void setPortIndices (int newInputIndex, int newOutputIndex) noexcept;

    /** The pair set by setPortIndices; -1 before. */
    int getInputIndex() const noexcept    { return inputIndex; }
    int getOutputIndex() const noexcept   { return outputIndex; }

    /** The ports the device is reached through. */
    MidiPortSystem& getPortSystem() const noexcept   { return portSystem; }

    /** Opens and starts the port pair; false (with both closed) when either fails. */
    bool openPorts();

    /** Closes both ports; harmless when they are closed. */
    void closePorts();

    /** The header of the mode the device is in now (update or normal), with command. */
    SysexHeader getCurrentHeader (juce::uint8 command) const noexcept;

    /** Sends the completed message and waits up to timeoutMs for the reply. Returns the
        reply when it carries expectedReply, except an Ack, for which it returns nullptr.
        Throws CommTargetException for an error reply, CommHostException when no usable
        reply came, CommInterruptedException when this thread is told to exit, and a
        plain CommException when the ports are not open.
    */
    std::unique_ptr<pex::Super7RxSysexMsg> transact (pex::Super7TxSysexMsg& message,
                                                     juce::uint8 expectedReply,
                                                     int timeoutMs);

    /** Sends command, without payload, with the current header; as transact. */
    std::unique_ptr<pex::Super7RxSysexMsg> request (juce::uint8 command, juce::uint8 expectedReply, int timeoutMs);

    /** Drops a received message that no exchange has taken. */
    void releasePendingReply();

    /** Asks the device who it is: its device ID, whether it waits in update mode, and its
        name. When nobody answers, asks once more under the update product ID.
    */
    void identify();

    /** Waits for the identity reply that some devices send a second time, and drops it.
        Throws CommHostException (NoResponse) when it does not come in time.
    */
    void discardSecondIdentityReply();

    /** Asks the device for its firmware version. */
    void readVersion();

    /** Switches the device into update mode unless it waits there already. A device
        may switch without answering, so a missing or unusable answer counts as done.
    */
    void enterUpdateMode();

private:
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    bool waitForReply (int timeoutMs);
    bool waitForReplyUntil (double deadline);
    juce::uint32 getMessagesSinceRequest() const;
    std::unique_ptr<pex::Super7RxSysexMsg> takePendingReply();
    static juce::uint8 readCommand (const pex::Super7RxSysexMsg& reply);
    std::unique_ptr<pex::Super7RxSysexMsg> requestIdentity (juce::uint8 productId);
    void readIdentity (pex::Super7RxSysexMsg& reply);

    /** Waits for the second identity reply as long as its time-out allows and drops it
        if it comes; returns whether it came.
    */
    bool dropSecondIdentityReply();

    MidiPortSystem& portSystem;
    const ReplyTimeouts timeouts;

    // Signalled by the input thread for every SysEx message it receives. Auto-reset.
    juce::WaitableEvent replyEvent;

    juce::CriticalSection replyLock;

    // Guarded by replyLock: the input thread fills the slot, the worker empties it.
    std::unique_ptr<pex::Super7RxSysexMsg> pendingReply;

    // Guarded by replyLock: the SysEx messages received in all, and how many of them
    // had come before the latest request was sent.
    juce::uint32 messagesReceived = 0;
    juce::uint32 messagesBeforeRequest = 0;

    // Guarded by replyLock: who the latest request was addressed to. The worker sets it
    // as it sends; the input thread ignores messages from anyone else.
    SysexHeader awaitedSender;

    // The remaining fields belong to the worker that drives the device.
    SysexHeader normalHeader;
    SysexHeader updateHeader;
    juce::String deviceName;
    juce::String versionText;
    juce::uint8 versionMajor = 0;
    juce::uint8 versionMinor = 0;
    bool waitingForUpdate = false;

    int inputIndex = -1;
    int outputIndex = -1;

    // Declared last so that they close before anything their callback touches goes.
    std::unique_ptr<MidiOutputPort> midiOutput;
    std::unique_ptr<MidiInputPort> midiInput;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiTargetDevice)
};
