#include "cli/CliApplication.h"
#include "platform/CommandLineArguments.h"

// quillon-cli in a build without the demo.
int main (int argc, char** argv)
{
    return CliApplication::run (CommandLineArguments::of (argc, argv), {});
}
