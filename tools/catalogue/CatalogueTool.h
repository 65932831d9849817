#pragma once

#include <ostream>
#include <juce_core/juce_core.h>

#include "tools/catalogue/ToolError.h"

/** quillon-catalogue: the vendor's tool for the catalogue the update server serves.
    It makes the signing key, describes images, stamps a catalogue with their sizes and
    digests, signs it and checks a signature, all with the program's own catalogue
    code, so that what it writes is exactly what the program accepts.
*/
struct CatalogueTool
{
    /** arguments without the program's name; relative paths are taken from
        workingFolder. Results go to out, problems to errors. Returns the exit code.
    */
    static int run (const juce::StringArray& arguments, const juce::File& workingFolder,
                    std::ostream& out, std::ostream& errors);

    static juce::String usage();

    /** The name sign gives a catalogue unless told: where the program asks for it. */
    static constexpr const char* defaultName = "/updater/common/config/UpdateTargets.xml";

    /** How long a signature holds unless told: re-signing daily leaves weeks to spare. */
    static constexpr int defaultDaysValid = 30;
    static constexpr int longestDaysValid = 3650;

    /** Where sign puts, and verify looks for, the signature of catalogue. */
    static juce::File signatureFileFor (const juce::File& catalogue);
};
