#include "device/MidiTargetDevice.h"

#include "device/CommInterruptedException.h"
#include "device/CommTargetException.h"
#include "device/DeviceCommand.h"
#include "device/DeviceModel.h"
#include "device/ProgrammingSequence.h"
#include "device/sysex/SysexException.h"

#include <cmath>

namespace
{
    // How often a wait for a reply looks whether its thread has been told to exit.
    constexpr double exitCheckIntervalMs = 50.0;

    SysexHeader makeHeader (const TargetProduct& product, int productId)
    {
        SysexHeader header;

        if (product.brand == TargetBrand::Calvio)
        {
            header.manufacturerId = 0x0006;
            header.extendedId = 0;
        }
        else if (product.brand == TargetBrand::Brisma)
        {
            header.manufacturerId = 0x0010;
            header.extendedId = 1;
        }

        header.deviceId = 0x7F;
        header.familyId = (juce::uint8) (product.familyId & 0xFF);
        header.productId = (juce::uint8) (productId & 0xFF);
        return header;
    }
}

MidiTargetDevice::MidiTargetDevice (const TargetProduct& productToCopy, MidiPortSystem& portSystemToUse,
                                    const ReplyTimeouts& timeoutsToUse)
    : TargetDevice (productToCopy),
      portSystem (portSystemToUse),
      timeouts (timeoutsToUse),
      normalHeader (makeHeader (product, product.productId)),
      updateHeader (makeHeader (product, product.updateProductId))
{
    awaitedSender = normalHeader;
}

MidiTargetDevice::~MidiTargetDevice()
{
    closePorts();
}

juce::String MidiTargetDevice::getVersion() const
{
    return versionText;
}

int MidiTargetDevice::compareVersions (const juce::String& a, const juce::String& b) const
{
    return VersionNumber::fromText (a).compare (VersionNumber::fromText (b));
}

juce::String MidiTargetDevice::getDeviceName() const
{
    return deviceName;
}

bool MidiTargetDevice::isWaitingForUpdate() const
{
    return waitingForUpdate;
}

VersionNumber MidiTargetDevice::getVersionNumber() const noexcept
{
    return { versionMajor, versionMinor };
}

void MidiTargetDevice::update (juce::InputStream& image, StatusReporter* status, ProgressReporter* progress)
{
    ProgrammingSequence (*this, status, progress).run (image);
}

void MidiTargetDevice::setPortIndices (int newInputIndex, int newOutputIndex) noexcept
{
    inputIndex = newInputIndex;
    outputIndex = newOutputIndex;
}

bool MidiTargetDevice::openPorts()
{
    midiInput = portSystem.openInput (inputIndex, *this);

    if (midiInput == nullptr)
        return false;

    midiOutput = portSystem.openOutput (outputIndex);

    if (midiOutput == nullptr)
    {
        midiInput.reset();
        return false;
    }

    midiInput->start();
    return true;
}

void MidiTargetDevice::closePorts()
{
    midiInput.reset();
    midiOutput.reset();
}

SysexHeader MidiTargetDevice::getCurrentHeader (juce::uint8 command) const noexcept
{
    auto header = waitingForUpdate ? updateHeader : normalHeader;
    header.command = command;
    return header;
}

std::unique_ptr<pex::Super7RxSysexMsg> MidiTargetDevice::transact (pex::Super7TxSysexMsg& message,
                                                                   juce::uint8 expectedReply,
                                                                   int timeoutMs)
{
    if (midiOutput == nullptr)
        throw CommException();

    {
        const juce::ScopedLock slot (replyLock);
        messagesBeforeRequest = messagesReceived;
        awaitedSender = message.GetHeader();
    }

    midiOutput->sendMessageNow (juce::MidiMessage (message.GetData(), (int) message.GetLength()));

    if (! waitForReply (timeoutMs))
        throw CommHostException (CommHostException::NoResponse);

    auto reply = takePendingReply();

    if (reply == nullptr)
        throw CommHostException (CommHostException::CorruptReply);

    const auto command = readCommand (*reply);

    if (command == expectedReply)
        return command == DeviceCommand::Ack ? nullptr : std::move (reply);

    if (command == DeviceCommand::ErrorReply)
    {
        const auto rejectedCommand = reply->ReadByte();
        const auto errorCode = reply->ReadByte();
        throw CommTargetException (rejectedCommand, errorCode);
    }

    throw CommHostException (CommHostException::UnexpectedReply);
}

std::unique_ptr<pex::Super7RxSysexMsg> MidiTargetDevice::request (juce::uint8 command,
                                                                  juce::uint8 expectedReply,
                                                                  int timeoutMs)
{
    pex::Super7TxSysexMsg message (getCurrentHeader (command));
    message.Complete();
    return transact (message, expectedReply, timeoutMs);
}

void MidiTargetDevice::releasePendingReply()
{
    takePendingReply();
}

void MidiTargetDevice::identify()
{
    std::unique_ptr<pex::Super7RxSysexMsg> reply;

    try
    {
        reply = requestIdentity (normalHeader.productId);

        if (DeviceModel::answersIdentityTwice (product))
            discardSecondIdentityReply();
    }
    catch (const CommInterruptedException&)
    {
        throw;
    }
    catch (const CommHostException& e)
    {
        if (e.hostError != CommHostException::NoResponse || updateHeader.productId == normalHeader.productId)
            throw;

        // A device that waits in update mode answers only to its update product ID.
        // Whether the model that answers twice does so there too is not known, so a
        // second answer is dropped if it comes, and not required: left in the slot, it
        // would be taken for the answer to the next request.
        reply = requestIdentity (updateHeader.productId);

        if (DeviceModel::answersIdentityTwice (product))
            dropSecondIdentityReply();
    }

    readIdentity (*reply);
}

void MidiTargetDevice::discardSecondIdentityReply()
{
    if (! dropSecondIdentityReply())
        throw CommHostException (CommHostException::NoResponse);
}

bool MidiTargetDevice::dropSecondIdentityReply()
{
    // Both answers may have arrived before the first was taken, the second replacing
    // the first in the slot and their two signals waking the worker once: then the
    // second is already gone and only its signal may be left over.
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeouts.secondIdentity;

    while (getMessagesSinceRequest() < 2)
        if (! waitForReplyUntil (deadline))
            return false;

    replyEvent.reset();
    releasePendingReply();
    return true;
}

void MidiTargetDevice::readVersion()
{
    const auto reply = request (DeviceCommand::VersionRequest, DeviceCommand::VersionReply, timeouts.version);
    const auto b0 = reply->ReadByte();
    const auto b1 = reply->ReadByte();
    const auto version = VersionNumber::fromDeviceBytes (b0, b1);

    versionMajor = (juce::uint8) version.majorNumber;
    versionMinor = (juce::uint8) version.minorNumber;
    versionText = version.toText();
}

void MidiTargetDevice::enterUpdateMode()
{
    if (waitingForUpdate)
        return;

    try
    {
        request (DeviceCommand::EnterUpdateMode, DeviceCommand::Ack, timeouts.enterUpdateMode);
    }
    catch (const CommInterruptedException&)
    {
        throw;
    }
    catch (const CommHostException&)
    {
        waitingForUpdate = true;
    }
}

void MidiTargetDevice::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    if (! message.isSysEx() || MidiInputPort::isOversizedSysex (message))
        return;

    // Decoded outside the lock, which guards the slot only. A message that fails to
    // decode still wakes the waiting worker, which then finds the slot empty.
    std::unique_ptr<pex::Super7RxSysexMsg> received;
    auto intact = false;

    try
    {
        received = std::make_unique<pex::Super7RxSysexMsg>();
        received->Append (message.getRawData(), (juce::uint32) message.getRawDataSize());
        intact = true;
    }
    catch (...)
    {
    }

    // Signalled under the lock: a worker that has counted this message under the lock
    // and then resets the event must not be woken by this signal afterwards.
    const juce::ScopedLock slot (replyLock);

    // Another device's message answers nothing of ours, intact or not: it neither wakes
    // the worker nor takes the place of the reply it waits for.
    if (received != nullptr && ! received->IsFrom (awaitedSender))
        return;

    if (! intact)
        received.reset();

    std::swap (pendingReply, received);
    ++messagesReceived;
    replyEvent.signal();
}

bool MidiTargetDevice::waitForReply (int timeoutMs)
{
    return waitForReplyUntil (juce::Time::getMillisecondCounterHiRes() + timeoutMs);
}

bool MidiTargetDevice::waitForReplyUntil (double deadline)
{
    for (;;)
    {
        CommInterruptedException::throwIfThreadShouldExit();
        const auto remaining = deadline - juce::Time::getMillisecondCounterHiRes();

        if (remaining <= 0.0)
            return false;

        // Rounded up: a wait of 0 ms for the last fraction of a millisecond would spin.
        if (replyEvent.wait (static_cast<int> (std::ceil (juce::jmin (exitCheckIntervalMs, remaining)))))
            return true;
    }
}

juce::uint32 MidiTargetDevice::getMessagesSinceRequest() const
{
    const juce::ScopedLock slot (replyLock);
    return messagesReceived - messagesBeforeRequest;
}

std::unique_ptr<pex::Super7RxSysexMsg> MidiTargetDevice::takePendingReply()
{
    const juce::ScopedLock slot (replyLock);
    return std::move (pendingReply);
}

juce::uint8 MidiTargetDevice::readCommand (const pex::Super7RxSysexMsg& reply)
{
    try
    {
        return reply.GetCommand();
    }
    catch (const pex::SysexException&)
    {
        // Too short to hold a command: as useless as a reply to something else.
        throw CommHostException (CommHostException::UnexpectedReply);
    }
}

std::unique_ptr<pex::Super7RxSysexMsg> MidiTargetDevice::requestIdentity (juce::uint8 productId)
{
    auto header = normalHeader;
    header.productId = productId;
    header.command = DeviceCommand::IdentityRequest;

    pex::Super7TxSysexMsg message (header);
    const juce::uint8 anyDevice[] = { 0x7F, 0x7F, 0x7F };
    message.Append (anyDevice, (juce::uint32) std::size (anyDevice));
    message.Complete();
    return transact (message, DeviceCommand::IdentityReply, timeouts.identity);
}

void MidiTargetDevice::readIdentity (pex::Super7RxSysexMsg& reply)
{
    normalHeader.deviceId = updateHeader.deviceId = reply.ReadByte();
    reply.ReadByte();
    reply.ReadByte();
    waitingForUpdate = reply.ReadByte() != 0;

    if (reply.GetLength() > 5)
    {
        reply.ReadByte();
        reply.ReadString();
        deviceName = reply.ReadString().trim();
    }
}
