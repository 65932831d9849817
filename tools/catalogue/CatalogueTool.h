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

    /** Where sign puts, and verify looks for, the signature of catalogue. */
    static juce::File signatureFileFor (const juce::File& catalogue);
};
