#include "cli/CliApplication.h"
#include "demo/DemoCliWorld.h"
#include "platform/CommandLineArguments.h"
#include "tests/cli/HostileNames.h"

// quillon-cli whose --demo world has the Hall Reverb and its ports named with control
// characters, at no MIDI speed: the tests' stand-in for a hostile device and port.
int main (int argc, char** argv)
{
    return CliApplication::run (CommandLineArguments::of (argc, argv), []
    {
        auto setup = DemoSetup::standard (false);
        auto& hallReverb = setup.devices[0];
        hallReverb.name = HostileNames::deviceName();
        hallReverb.portName += HostileNames::portSuffix();
        return std::make_unique<DemoCliWorld> (setup);
    });
}
