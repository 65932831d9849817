#include <gtest/gtest.h>

#include "catalogue/TargetsSources.h"

namespace
{
    // Months count from 0 in juce::Time.
    juce::Time localTime (int year, int month, int day, int hours, int minutes, int seconds)
    {
        return juce::Time (year, month, day, hours, minutes, seconds, 0, true);
    }
}

TEST (TargetsSources, ServerAddressCarriesTheEscapedLocalTime)
{
    const auto sources = TargetsSources::build (juce::File ("/opt/quillon"), "updates.tesmar-audio.com",
                                                localTime (2026, 11, 6, 19, 42, 37));

    EXPECT_EQ (sources, juce::StringArray ({ "/opt/quillon/UpdateTargets.xml",
                                             "http://updates.tesmar-audio.com/updater/common/config/UpdateTargets.xml?nocache=6+Dec+2026+7%3a42%3a37+pm" }));
}

TEST (TargetsSources, TimeUsesTheTwelveHourClockWithoutLeadingZeroes)
{
    EXPECT_EQ (TargetsSources::formatTime (localTime (2026, 11, 6, 19, 42, 37)), "6 Dec 2026 7:42:37 pm");
    EXPECT_EQ (TargetsSources::formatTime (localTime (2027, 0, 1, 0, 5, 9)), "1 Jan 2027 12:05:09 am");
    EXPECT_EQ (TargetsSources::formatTime (localTime (2027, 4, 31, 12, 0, 0)), "31 May 2027 12:00:00 pm");
    EXPECT_EQ (TargetsSources::formatTime (localTime (2027, 8, 10, 11, 59, 59)), "10 Sep 2027 11:59:59 am");
}

TEST (TargetsSources, EscapingKeepsOnlyLettersDigitsAndTheSafeMarks)
{
    EXPECT_EQ (TargetsSources::escapeQueryValue ("6 Dec 2026 7:42:37 pm"), "6+Dec+2026+7%3a42%3a37+pm");
    EXPECT_EQ (TargetsSources::escapeQueryValue ("_-$.*!'(),"), "_-$.*!'(),");
    EXPECT_EQ (TargetsSources::escapeQueryValue ("~/?&=%+\t"), "%7e%2f%3f%26%3d%25%2b%09");
    // clang-format off
    EXPECT_EQ (TargetsSources::escapeQueryValue (juce::String::fromUTF8 ("d\xc3\xa9""c")), "d%c3%a9c");
    // clang-format on
}

TEST (TargetsSources, ForThisProgramLooksBesideTheProgramThenAtTheConfiguredHost)
{
    const auto sources = TargetsSources::forThisProgram (juce::Time::getCurrentTime());
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile);

    ASSERT_EQ (sources.size(), 2);
    EXPECT_EQ (juce::File (sources[0]), program.getSiblingFile ("UpdateTargets.xml"));
    EXPECT_TRUE (sources[1].startsWith ("http://" QUILLON_UPDATE_HOST "/updater/common/config/UpdateTargets.xml?nocache="));
}
