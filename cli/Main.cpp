#include "cli/CliApplication.h"

// quillon-cli in a build without the demo.
int main (int argc, char** argv)
{
    return CliApplication::run (juce::StringArray (argv + 1, argc - 1), {});
}
