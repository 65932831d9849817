#include "sim/ports/VirtualPortList.h"

int VirtualPortList::add (const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    names.add (name);
    return names.size() - 1;
}

void VirtualPortList::setFailsToOpen (int index, bool shouldFail)
{
    const juce::ScopedLock sl (lock);

    if (shouldFail)
        failing.add (index);
    else
        failing.removeValue (index);
}

juce::StringArray VirtualPortList::getNames() const
{
    const juce::ScopedLock sl (lock);
    return names;
}

std::optional<juce::String> VirtualPortList::nameToOpen (int index) const
{
    const juce::ScopedLock sl (lock);

    if (! juce::isPositiveAndBelow (index, names.size()) || failing.contains (index))
        return std::nullopt;

    return names[index];
}
