#include "sim/SimulatedFaultPlan.h"

#include "sim/SimulatedCommand.h"

#include <algorithm>
#include <iterator>

namespace
{
    // Fills a new vector instead of assigning over the old replies: JUCE 7.0.5's
    // MidiMessage move assignment loses the heap data of the message it overwrites.
    template <typename Transform>
    std::vector<juce::MidiMessage> replacedOneByOne (const std::vector<juce::MidiMessage>& replies, Transform transform)
    {
        std::vector<juce::MidiMessage> replaced;
        std::transform (replies.begin(), replies.end(), std::back_inserter (replaced), transform);
        return replaced;
    }
}

SimulatedFaultPlan::SimulatedFaultPlan (std::vector<SimulatedFault> faultsToApply)
    : faults (std::move (faultsToApply))
{
}

const SimulatedFault* SimulatedFaultPlan::next (juce::uint8 command)
{
    const auto occurrence = ++occurrences[command];

    for (const auto& fault : faults)
        if (fault.appliesTo (command, occurrence))
            return &fault;

    return nullptr;
}

std::vector<juce::MidiMessage> SimulatedFaultPlan::disturb (const SimulatedFault& fault,
                                                            juce::uint8 command,
                                                            std::vector<juce::MidiMessage> replies,
                                                            const SimulatedReplies& builder,
                                                            bool inUpdateMode)
{
    using Kind = SimulatedFault::Kind;

    switch (fault.kind)
    {
        case Kind::noReply:
            return {};

        case Kind::errorReply:
            return { builder.errorReply (inUpdateMode, command, fault.errorCode) };

        case Kind::tooShort:
            return { builder.truncated() };

        case Kind::strayMessage:
            replies.push_back (builder.unsolicited (inUpdateMode));
            return replies;

        case Kind::badChecksum:
            return replacedOneByOne (replies, [] (const juce::MidiMessage& reply)
            {
                return SimulatedReplies::withBadChecksum (reply);
            });

        case Kind::wrongKind:
            return replacedOneByOne (replies, [&builder, inUpdateMode] (const juce::MidiMessage& reply)
            {
                return SimulatedReplies::commandOf (reply) == SimulatedCommand::ack ? builder.versionReply (inUpdateMode)
                                                                                    : builder.ack (inUpdateMode);
            });

        case Kind::vanishAfterReply:
            return replies;

        case Kind::foreignHeader:
            return replacedOneByOne (replies, [] (const juce::MidiMessage& reply)
            {
                return SimulatedReplies::withNextFamilyId (reply);
            });

        case Kind::strangerAfterReply:
            replies.push_back (builder.fromStranger (inUpdateMode));
            return replies;

        case Kind::missingRegion:
            if (command == SimulatedCommand::memoryMapRequest)
                return { builder.memoryMapReply (inUpdateMode, 1) };

            return replies;
    }

    return replies;
}
