#include "cli/DeviceFacts.h"

#include "cli/Json.h"
#include "cli/TerminalText.h"

juce::String DeviceFacts::brandName (TargetBrand brand)
{
    switch (brand)
    {
        case TargetBrand::Calvio: return "Calvio";
        case TargetBrand::Brisma: return "Brisma";
        case TargetBrand::Other:  break;
    }

    return "Other";
}

juce::String DeviceFacts::describe (const TargetDevice& device, int number, const DeviceSurvey& survey)
{
    const auto [input, output] = survey.getPortNames (device);
    const auto version = device.getVersion().isNotEmpty() ? TerminalText::visible (device.getVersion()) : juce::String ("unknown");

    return juce::String (number) + ". " + TerminalText::visible (device.getDisplayName()) + "\n"
           + "   brand: " + brandName (device.product.brand) + ", product: " + TerminalText::visible (device.product.name)
           + ", name: " + TerminalText::visible (device.getDeviceName()) + ", version: " + version
           + ", waiting in update mode: " + (device.isWaitingForUpdate() ? "yes" : "no") + "\n"
           + "   input: " + TerminalText::visible (input) + ", output: " + TerminalText::visible (output);
}

juce::var DeviceFacts::toJson (const TargetDevice& device, int number, const DeviceSurvey& survey)
{
    const auto [input, output] = survey.getPortNames (device);

    return Json::object ({ { "number", number },
                           { "brand", brandName (device.product.brand) },
                           { "product", device.product.name },
                           { "name", device.getDeviceName() },
                           { "version", device.getVersion() },
                           { "waitingInUpdateMode", device.isWaitingForUpdate() },
                           { "input", input },
                           { "output", output } });
}

juce::var DeviceFacts::toJson (const TargetRevision& revision)
{
    return Json::object ({ { "version", revision.version },
                           { "releaseDate", revision.releaseDate },
                           { "imageUrl", revision.imageUrl },
                           { "releaseNotesUrl", revision.releaseNotesUrl },
                           { "postInstructions", revision.specialPostInstructions } });
}
