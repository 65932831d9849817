#include "cli/CliApplication.h"
#include "demo/DemoCliWorld.h"

// quillon-cli with the demo's world behind --demo.
int main (int argc, char** argv)
{
    return CliApplication::run (juce::StringArray (argv + 1, argc - 1),
                                [] { return std::make_unique<DemoCliWorld>(); });
}
