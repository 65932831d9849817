#pragma once

#include <juce_core/juce_core.h>

/** What quillon-cli-hostile's world names itself with: its Hall Reverb says this name
    over SysEx, and its ports carry the Hall Reverb's name followed by portSuffix(). Each
    holds control characters of every kind, as a terminal would act on them: BEL, ESC
    sequences that retitle and clear the terminal, a line break and a forged result, a
    tab, quote and backslash, DEL, and C1's NEL and CSI; the ports' also bidirectional
    controls that would reorder what is read (a right-to-left override, an isolate, a
    mark), which a name over SysEx cannot carry.
*/
namespace HostileNames
{
    inline juce::String deviceName()
    {
        return juce::String::fromUTF8 ("Evil\a\x1b]0;TITLE\a\x1b[2J\x1b[H\nUpdate Succeeded - forged\t\"q\"\\b\x7f\u0085\u009b" "2J");
    }

    /** deviceName() as the terminal must show it. */
    inline juce::String deviceNameShown()
    {
        return juce::String::fromUTF8 ("Evil\u2407\u241b]0;TITLE\u2407\u241b[2J\u241b[H\u240aUpdate Succeeded - forged"
                                       "\u2409\"q\"\\b\u2421\ufffd\ufffd" "2J");
    }

    inline juce::String portSuffix()
    {
        return juce::String::fromUTF8 (" \x1b[31mred\r\u009b?25l\x01\u202edecnaC\u2067\u061c");
    }

    inline juce::String portSuffixShown()
    {
        return juce::String::fromUTF8 (" \u241b[31mred\u240d\ufffd?25l\u2401\ufffddecnaC\ufffd\ufffd");
    }
}
