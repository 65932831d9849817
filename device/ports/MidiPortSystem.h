#pragma once

#include "device/ports/MidiInputPort.h"
#include "device/ports/MidiOutputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** The computer's MIDI inputs and outputs, as the device code sees them: two lists of
    names, and ports opened by their position in those lists. Which backend stands
    behind it (the operating system's ports through JUCE, or in-process virtual ports
    for tests and the demo) is not the device code's concern.

    An index means the position of a name in the list returned by the latest call of
    getInputNames or getOutputNames; take the names first, then open by index.
    Every operation may be called from any thread.
*/
class MidiPortSystem
{
public:
    virtual ~MidiPortSystem() = default;

    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;

    /** Opens the input at index with callback as its receiver, not yet started.
        Returns nullptr when there is no such input or it cannot be opened. The callback
        must outlive the port; the juce::MidiInput* it is given may be nullptr.
    */
    virtual std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) = 0;

    /** Opens the output at index; nullptr when there is no such output or it cannot be opened. */
    virtual std::unique_ptr<MidiOutputPort> openOutput (int index) = 0;

    /** Whether each input's SysEx is joined from its pieces apart from every other
        input's. When not, one assembler joins the pieces of all inputs in the order
        they come, and two devices answering at the same time on different inputs spoil
        each other's replies: such ports carry one device's exchange at a time.
    */
    virtual bool readsInputsApart() const    { return true; }
};
