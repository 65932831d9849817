#pragma once

#include <juce_core/juce_core.h>

/** Text from outside (device names over SysEx, MIDI port names, catalogue texts, a
    server's answers) as the terminal may be given it. A control character in it could
    retitle or clear the terminal, move the cursor or forge a line of the client's own,
    so each is replaced by a visible stand-in that still says which it was:

        C0 (U+0000-U+001F)  its Control Picture, U+2400-U+241F (ESC shows as U+241B)
        DEL (U+007F)        U+2421, the Control Picture for delete
        C1 (U+0080-U+009F)  U+FFFD, the replacement character: C1 has no pictures
        bidirectional       U+FFFD as well: the marks and the embedding, override and
        controls            isolate controls, which would reorder what the user reads
                            (U+061C, U+200E, U+200F, U+202A-U+202E, U+2066-U+2069)

    as is anything that is not a Unicode scalar value (a lone surrogate), which no UTF-8
    terminal or parser takes. Each stand-in is one column wide, and none is a sequence
    of plain characters a device name might really hold (as "^[" or "\e" would be).
*/
struct TerminalText
{
    /** One line, whatever text holds: line breaks and tabs are replaced too. */
    static juce::String visible (const juce::String& text);

    /** For text the client has laid out itself: keeps its line breaks and tabs and
        replaces every other control character. What is written to a terminal passes
        through this last; the outside texts in it have been made visible() before.
    */
    static juce::String keepingLayout (const juce::String& text);

    /** True for the bidirectional controls above, which JSON writes escaped as well. */
    static bool isBidiControl (juce::juce_wchar c) noexcept;
};
