#pragma once

#include <juce_core/juce_core.h>

/** Prepares a downloaded text for JUCE's XML parser, which has faults that a hostile
    or damaged targets file could reach:
    - text after a processing instruction inside an element ("<a><?pi?>text</a>") makes
      it loop for ever;
    - its expansion of the entities a document type declaration defines can loop for ever;
    - a hexadecimal character reference at the very end of the text ("&#x41") makes it
      read past the end.

    The text it returns means the same to a targets file, which uses none of these:
    every complete processing instruction (the XML declaration included) becomes a
    blank, "<!DOCTYPE" is written in lower case so that the parser does not take it for
    a declaration (and fails on it: a targets file has none), and a line end is added
    after the text. Any thread.
*/
struct XmlParserGuard
{
    static juce::String safeText (const juce::String& text);
};
