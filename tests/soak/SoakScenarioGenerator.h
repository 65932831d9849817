#pragma once

#include "tests/soak/SoakScenario.h"

#include <random>

/** Draws soak scenarios from a seeded generator: devices of every model and mode,
    random memory maps and images, and one fault at a random step (or none).

    Silence costs real time (a write waits longest), so each scenario is drawn to wait
    no longer in all than the time the caller has left for it.
*/
class SoakScenarioGenerator
{
public:
    static constexpr const char* portName = "Soak Pedal";

    explicit SoakScenarioGenerator (juce::uint32 seed);

    SoakScenario next (int silenceBudgetMs);

private:
    SoakScenario draw();
    void chooseModel (SoakScenario& scenario);
    void chooseIdentity (SimulatedDeviceConfig& device);
    SimulatedMemoryMap chooseMemoryMap (SoakScenario::Model model);
    std::vector<SoakScenario::Record> chooseRecords (juce::uint32 around, int blockSize);
    std::vector<juce::uint8> chooseData (juce::uint32 address, juce::uint32 length, int blockSize);
    void chooseFault (SoakScenario& scenario);
    void chooseHostFault (SoakScenario& scenario);
    SimulatedFault chooseDeviceFault (const SoakScenario& scenario);
    SimulatedFault::Kind chooseKind();

    int between (int low, int high);
    bool chance (int percent);

    std::mt19937 random;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SoakScenarioGenerator)
};
