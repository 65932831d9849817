#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The names of the virtual inputs, or of the virtual outputs, in the order they were
    added, and which of them refuse to open. Any thread.
*/
class VirtualPortList
{
public:
    VirtualPortList() = default;

    /** Appends a port and returns its index. Names need not be unique. */
    int add (const juce::String& name);

    /** Makes opening the port at index fail (or work again). */
    void setFailsToOpen (int index, bool shouldFail);

    juce::StringArray getNames() const;

    /** The name of the port at index when it exists and may be opened now. */
    std::optional<juce::String> nameToOpen (int index) const;

private:
    // Guards names and failing.
    juce::CriticalSection lock;
    juce::StringArray names;
    juce::SortedSet<int> failing;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualPortList)
};
