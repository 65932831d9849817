#include "cli/DeviceReporter.h"

#include "cli/TerminalText.h"

DeviceReporter::DeviceReporter (Console& consoleToUse, const juce::String& labelToShow)
    : console (consoleToUse),
      label (labelToShow)
{
}

void DeviceReporter::reportStatus (const juce::String& text)
{
    console.traceStatus ("[" + label + "] " + TerminalText::visible (text));
    showStatus (text);
}

void DeviceReporter::reportProgress (double fraction)
{
    const int percent = fraction < 0.0 ? -1 : juce::jlimit (0, 100, juce::roundToInt (fraction * 100.0));

    if (lastPercent.exchange (percent) != percent)
        showProgress (percent, fraction);
}

juce::String DeviceReporter::labelOf (const TargetDevice& device, int number)
{
    auto text = juce::String (number) + " " + device.product.name;

    if (device.getDeviceName().isNotEmpty())
        text << " \"" << device.getDeviceName() << "\"";

    return TerminalText::visible (text);
}
