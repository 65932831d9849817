#include "tests/soak/SoakScenario.h"

#include "tests/device/ImageFileBuilder.h"

namespace
{
    const char* nameOf (SoakScenario::Model model)
    {
        switch (model)
        {
            case SoakScenario::Model::plain:                return "plain";
            case SoakScenario::Model::answersIdentityTwice: return "answers identity twice";
            case SoakScenario::Model::preparesLowPages:     return "prepares low pages";
            case SoakScenario::Model::reopensPorts:         return "reopens ports";
        }

        return "";
    }

    const char* nameOf (SimulatedFault::Kind kind)
    {
        switch (kind)
        {
            case SimulatedFault::Kind::noReply:          return "no reply";
            case SimulatedFault::Kind::badChecksum:      return "bad checksum";
            case SimulatedFault::Kind::wrongKind:        return "wrong kind";
            case SimulatedFault::Kind::tooShort:         return "too short";
            case SimulatedFault::Kind::errorReply:       return "error reply";
            case SimulatedFault::Kind::strayMessage:     return "stray message";
            case SimulatedFault::Kind::vanishAfterReply: return "vanish after reply";
            case SimulatedFault::Kind::foreignHeader:    return "foreign header";
            case SimulatedFault::Kind::strangerAfterReply: return "stranger after reply";
            case SimulatedFault::Kind::missingRegion:    return "missing region";
        }

        return "";
    }

    juce::String hex (int value)
    {
        return "0x" + juce::String::toHexString (value).toUpperCase();
    }

    juce::String describeHostFault (const SoakScenario& scenario)
    {
        switch (scenario.hostFault)
        {
            case SoakScenario::HostFault::none:          return "no host fault";
            case SoakScenario::HostFault::portsRefuse:   return "input refuses after " + juce::String (scenario.inputOpeningsLeft) + " openings";
            case SoakScenario::HostFault::imageCutShort: return "image cut short by " + juce::String ((int) scenario.cutShort);
            case SoakScenario::HostFault::imageMissing:  return "image missing";
        }

        return {};
    }
}

juce::MemoryBlock SoakScenario::makeImageFile() const
{
    ImageFileBuilder builder;

    for (const auto& record : records)
        builder.addRecord (record.address, record.data);

    auto file = builder.getFile();
    file.setSize (file.getSize() - cutShort);
    return file;
}

std::optional<SimulatedFault> SoakScenario::getDeviceFault() const
{
    if (device.faults.empty())
        return std::nullopt;

    return device.faults.front();
}

juce::String SoakScenario::describe() const
{
    const auto& d = device;
    juce::String text;
    text << (d.brand == TargetBrand::Brisma ? "Brisma " : "Calvio ") << hex (d.familyId) << "/" << hex (d.productId)
         << " update ID " << hex (d.updateProductId) << ", " << nameOf (model)
         << (d.startsInUpdateMode ? ", waiting" : ", running")
         << (d.acknowledgesUpdateMode ? ", acknowledges" : ", switches silently")
         << ", latency " << d.replyLatencyMs << " ms" << (d.linkBytesPerSecond > 0.0 ? ", slow link" : "")
         << ", block size " << (int) d.memoryMap.blockSize << ", " << (int) d.memoryMap.regions.size() << " regions, "
         << (int) records.size() << " records " << (imageOverHttp ? "over HTTP; " : "from a file; ");

    if (const auto fault = getDeviceFault())
        text << nameOf (fault->kind) << " on " << hex (fault->command) << " #" << fault->first
             << " x" << fault->times << " code " << (int) fault->errorCode;
    else
        text << describeHostFault (*this);

    return text;
}
