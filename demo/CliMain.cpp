#include "cli/CliApplication.h"
#include "demo/DemoCliWorld.h"
#include "platform/CommandLineArguments.h"

// quillon-cli with the demo's world behind --demo.
int main (int argc, char** argv)
{
    return CliApplication::run (CommandLineArguments::of (argc, argv),
                                [] { return std::make_unique<DemoCliWorld>(); });
}
