#include "catalogue/TargetsSources.h"

juce::StringArray TargetsSources::build (const juce::File& programFolder, const juce::String& host, juce::Time localTime)
{
    return { programFolder.getChildFile ("UpdateTargets.xml").getFullPathName(),
             "http://" + host + "/updater/common/config/UpdateTargets.xml?nocache="
                 + escapeQueryValue (formatTime (localTime)) };
}

juce::StringArray TargetsSources::forThisProgram (juce::Time localTime)
{
    const auto programFolder = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
    return build (programFolder, QUILLON_UPDATE_HOST, localTime);
}

juce::String TargetsSources::formatTime (juce::Time localTime)
{
    return juce::String (localTime.getDayOfMonth())
         + " " + juce::Time::getMonthName (localTime.getMonth(), true)
         + " " + juce::String (localTime.getYear()).paddedLeft ('0', 4)
         + " " + juce::String (localTime.getHoursInAmPmFormat())
         + ":" + juce::String (localTime.getMinutes()).paddedLeft ('0', 2)
         + ":" + juce::String (localTime.getSeconds()).paddedLeft ('0', 2)
         + (localTime.isAfternoon() ? " pm" : " am");
}

juce::String TargetsSources::escapeQueryValue (const juce::String& text)
{
    juce::String escaped;

    for (auto p = text.toRawUTF8(); *p != 0; ++p)
    {
        const auto byte = static_cast<unsigned char> (*p);

        if (byte == ' ')
            escaped << '+';
        else if (juce::CharacterFunctions::isLetterOrDigit (static_cast<char> (byte)) && byte < 0x80)
            escaped << static_cast<char> (byte);
        else if (juce::String ("_-$.*!'(),").containsChar (static_cast<juce::juce_wchar> (byte)))
            escaped << static_cast<char> (byte);
        else
            escaped << '%' << juce::String::toHexString (static_cast<int> (byte)).paddedLeft ('0', 2);
    }

    return escaped;
}
