#pragma once

#include "sim/SimulatedFault.h"
#include "sim/SimulatedReplies.h"

#include <map>
#include <vector>

/** Counts the commands a simulated device accepts and says which of them meet one of
    its configured faults, and what the fault makes of the device's replies.
    Used on the device's delivery thread only.
*/
class SimulatedFaultPlan
{
public:
    explicit SimulatedFaultPlan (std::vector<SimulatedFault> faultsToApply);

    /** Counts one more accepted command and returns the first fault planned for this
        occurrence of it, or nullptr.
    */
    const SimulatedFault* next (juce::uint8 command);

    /** What goes back to the host instead of replies, which answer command. */
    static std::vector<juce::MidiMessage> disturb (const SimulatedFault& fault,
                                                   juce::uint8 command,
                                                   std::vector<juce::MidiMessage> replies,
                                                   const SimulatedReplies& builder,
                                                   bool inUpdateMode);

private:
    const std::vector<SimulatedFault> faults;
    std::map<juce::uint8, int> occurrences;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedFaultPlan)
};
