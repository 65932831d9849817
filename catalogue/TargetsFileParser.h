#pragma once

#include <functional>
#include <memory>
#include <juce_core/juce_core.h>

#include "catalogue/TargetsInfo.h"

/** Builds the catalogue from the text of the targets file "UpdateTargets.xml".

    Throws XmlParseException when the text is not well-formed XML (with the XML
    parser's description of the error and where it is), breaks one of the reader's
    limits (nesting depth, memory, a document type declaration), or does not have the
    structure Config > Brand > Family > Product of a targets file, or gives a
    Revision a Size or Sha256 that is not a plain decimal number or 64 hexadecimal
    digits; nothing partial is returned then. Missing attributes are never errors.

    shouldStop, when given, is asked before every chunk of the text; once it answers
    true the parse ends there and nullptr is returned.

    Runs on the targets-file thread; touches nothing shared.
*/
std::unique_ptr<TargetsInfo> parseTargetsFile (const juce::String& text, const std::function<bool()>& shouldStop = {});
