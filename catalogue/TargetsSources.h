#pragma once

#include <juce_core/juce_core.h>

/** Where the targets file is looked for, in the order the sources are tried: a copy
    beside the program, then the update server.
*/
struct TargetsSources
{
    /** The file "UpdateTargets.xml" in programFolder, then
        "http://<host>/updater/common/config/UpdateTargets.xml?nocache=<time>", where
        the cache-busting time changes every second so that every scan asks the
        server afresh.
    */
    static juce::StringArray build (const juce::File& programFolder, const juce::String& host, juce::Time localTime);

    /** build() for the folder of the running program and the configured update host. */
    static juce::StringArray forThisProgram (juce::Time localTime);

    /** The local time as, for example, "6 Dec 2026 7:42:37 pm". */
    static juce::String formatTime (juce::Time localTime);

    /** URL-escapes text byte by byte over its UTF-8 form: a space becomes "+",
        letters, digits and _ - $ . * ! ' ( ) , stay, any other byte becomes "%"
        and two lower-case hex digits.
    */
    static juce::String escapeQueryValue (const juce::String& text);
};
