#pragma once

#include "tests/soak/SoakExpectation.h"
#include "tests/soak/SoakScenario.h"
#include "tests/soak/SoakStep.h"

#include <map>

/** Works out how a soak scenario must end from the protocol's rules alone: the steps
    the host takes, which of them meets the device's fault or the host's, and what the
    user must then be told.
*/
class SoakOracle
{
public:
    static SoakExpectation expect (const SoakScenario& scenario);

    /** Every step of the scenario's update when nothing goes wrong. */
    static std::vector<SoakStep> stepsOf (const SoakScenario& scenario);

    /** The blocks the host reads inside the regions: cut at record ends and at region
        ends, a region started at its first address or at the next record after it.
    */
    static std::vector<SoakExpectation::Block> blocksOf (const SoakScenario& scenario);

    /** What the user reads for an error reply with code to command. */
    static juce::String deviceErrorText (juce::uint8 command, juce::uint8 code);

    /** What the user reads for a missing (0), corrupt (1) or unexpected (2) reply. */
    static juce::String hostErrorText (int hostError);

private:
    explicit SoakOracle (const SoakScenario& scenarioToFollow);

    bool take (const SoakStep& step);
    bool request (const SoakStep& step);
    bool meetFault (const SoakStep& step, const SimulatedFault& deviceFault, bool switchesSilently);
    bool noUsableAnswer (const SoakStep& step, int hostError);
    bool fail (const juce::String& text);
    int identityRetrySilence (const SoakStep& step) const;

    const SoakScenario& scenario;
    const std::optional<SimulatedFault> fault;
    SoakExpectation expectation;
    std::map<juce::uint8, int> occurrences;
    int inputOpeningsLeft;
    bool vanished = false;
    bool strayed = false;
};
