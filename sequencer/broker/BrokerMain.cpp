#include "platform/CommandLineArguments.h"
#include "sequencer/broker/Broker.h"

#include <cstdio>

int main (int argc, char* argv[])
{
    // Before any thread starts, so that none of them takes the stop signals.
    Broker::holdStopSignals();

    const auto options = BrokerOptions::parse (CommandLineArguments::of (argc, argv),
                                               juce::File::getCurrentWorkingDirectory());

    if (options.error.isNotEmpty())
    {
        std::fputs (("quillon-sequencer: " + options.error + "\n" + BrokerOptions::usage()).toRawUTF8(), stderr);
        return 2;
    }

    return Broker::run (options);
}
