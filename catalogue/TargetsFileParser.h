#pragma once

#include <memory>
#include <juce_core/juce_core.h>

#include "catalogue/TargetsInfo.h"

/** Builds the catalogue from the targets file "UpdateTargets.xml".

    The document is parsed here. Throws XmlParseException when the text is not
    well-formed XML (with the XML parser's description of the error) or does not
    have the structure Config > Brand > Family > Product of a targets file; nothing
    partial is returned then. Missing attributes are never errors.

    Runs on the targets-file thread; touches nothing shared.
*/
std::unique_ptr<TargetsInfo> parseTargetsFile (juce::XmlDocument& document);
