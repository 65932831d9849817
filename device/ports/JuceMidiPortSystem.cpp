#include "device/ports/JuceMidiPortSystem.h"

#include "device/ports/JuceMidiBackend.h"
#include "device/ports/JuceMidiInputPort.h"
#include "device/ports/JuceMidiOutputPort.h"

juce::StringArray JuceMidiPortSystem::getInputNames()
{
    return keepListing (inputs, JuceMidiBackend::getInputs());
}

juce::StringArray JuceMidiPortSystem::getOutputNames()
{
    return keepListing (outputs, JuceMidiBackend::getOutputs());
}

std::unique_ptr<MidiInputPort> JuceMidiPortSystem::openInput (int index, juce::MidiInputCallback& callback)
{
    const auto identifier = identifierAt (inputs, index);

    if (identifier.isEmpty())
        return {};

    return JuceMidiInputPort::open (identifier, callback);
}

std::unique_ptr<MidiOutputPort> JuceMidiPortSystem::openOutput (int index)
{
    const auto identifier = identifierAt (outputs, index);

    if (identifier.isEmpty())
        return {};

    auto output = JuceMidiBackend::openOutput (identifier);

    if (output == nullptr)
        return {};

    return std::make_unique<JuceMidiOutputPort> (std::move (output));
}

bool JuceMidiPortSystem::readsInputsApart() const
{
   #if (JUCE_LINUX || JUCE_BSD) && JUCE_ALSA
    return false;
   #else
    return true;
   #endif
}

juce::StringArray JuceMidiPortSystem::keepListing (juce::Array<juce::MidiDeviceInfo>& listing,
                                                   const juce::Array<juce::MidiDeviceInfo>& devices)
{
    juce::StringArray names;

    for (const auto& device : devices)
        names.add (device.name);

    const juce::ScopedLock sl (listingLock);
    listing = devices;
    return names;
}

juce::String JuceMidiPortSystem::identifierAt (const juce::Array<juce::MidiDeviceInfo>& listing, int index) const
{
    const juce::ScopedLock sl (listingLock);
    return juce::isPositiveAndBelow (index, listing.size()) ? listing.getReference (index).identifier
                                                            : juce::String();
}
