#include "cli/PlainDeviceLines.h"

#include "cli/TerminalText.h"

void PlainDeviceLines::showStatus (const juce::String& text)
{
    console.print ("[" + label + "] " + TerminalText::visible (text));
}

void PlainDeviceLines::showProgress (int percent, double)
{
    if (percent >= 0)
        console.print ("[" + label + "] " + juce::String (percent) + "%");
}
