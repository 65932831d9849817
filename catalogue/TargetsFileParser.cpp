#include "catalogue/TargetsFileParser.h"

#include "catalogue/TargetsFileReader.h"

std::unique_ptr<TargetsInfo> parseTargetsFile (const juce::String& text, const std::function<bool()>& shouldStop)
{
    return TargetsFileReader().read (text, shouldStop);
}
