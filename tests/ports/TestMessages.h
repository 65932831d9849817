#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** A message's raw bytes as upper-case hex pairs separated by spaces, e.g. "F0 7D 01 F7". */
inline juce::String hexOf (const juce::MidiMessage& message)
{
    return juce::String::toHexString (message.getRawData(), message.getRawDataSize()).toUpperCase();
}

/** A complete SysEx message, F0 and F7 included, around the given data bytes. */
inline juce::MidiMessage sysex (const std::vector<juce::uint8>& data)
{
    return juce::MidiMessage::createSysExMessage (data.data(), static_cast<int> (data.size()));
}

/** A short SysEx message that carries number (0 to 16383) in two data bytes. */
inline juce::MidiMessage numberedSysex (int number)
{
    return sysex ({ 0x7D, static_cast<juce::uint8> ((number >> 7) & 0x7F), static_cast<juce::uint8> (number & 0x7F) });
}

/** The numbered messages' hex, joined by "|" as CallRecorder::getEventLog joins events. */
inline juce::String numberedLog (std::initializer_list<int> numbers)
{
    juce::StringArray hex;

    for (auto number : numbers)
        hex.add (hexOf (numberedSysex (number)));

    return hex.joinIntoString ("|");
}
