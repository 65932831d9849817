#include "sim/SimulatedFaultPlan.h"

#include "sim/SimulatedCommand.h"

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
            for (auto& reply : replies)
                reply = SimulatedReplies::withBadChecksum (reply);

            return replies;

        case Kind::wrongKind:
            for (auto& reply : replies)
                reply = SimulatedReplies::commandOf (reply) == SimulatedCommand::ack ? builder.versionReply (inUpdateMode)
                                                                                    : builder.ack (inUpdateMode);

            return replies;

        case Kind::vanishAfterReply:
            return replies;
    }

    return replies;
}
