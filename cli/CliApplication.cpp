#include "cli/CliApplication.h"

#include "cli/CliSession.h"
#include "cli/InterruptFlag.h"
#include "cli/ProgramWorld.h"
#include "cli/Terminal.h"
#include "cli/TerminalText.h"
#include "device/ports/TracingMidiPortSystem.h"

#include <juce_events/juce_events.h>

#include <iostream>

#if ! JUCE_WINDOWS
 #include <csignal>
#endif

namespace
{
    int usageError (const juce::String& error)
    {
        Console::printError (TerminalText::visible (error) + "\nTry \"quillon-cli --help\".");
        return (int) ExitCode::usage;
    }

    int runCommand (const CliOptions& options, CliWorld& world)
    {
        std::unique_ptr<MidiTrace> trace;
        std::unique_ptr<TracingMidiPortSystem> tracingPorts;

        if (options.traceFile != juce::File())
        {
            trace = std::make_unique<MidiTrace> (options.traceFile);

            // The command line was right; the place it names was not, so no hint at --help.
            if (! trace->isOpen())
            {
                Console::printError (TerminalText::visible ("cannot write the trace to " + options.traceFile.getFullPathName()
                                                            + ": " + trace->getError() + "; give a regular file or a pipe"));
                return (int) ExitCode::usage;
            }

            tracingPorts = std::make_unique<TracingMidiPortSystem> (world.getPorts(), *trace);
        }

        auto& ports = tracingPorts != nullptr ? *tracingPorts : world.getPorts();
        Console console (Console::styleFor (options.json), options.command == CliOptions::Command::update, trace.get());
        return (int) CliSession (options, world, ports, console).run();
    }
}

int CliApplication::run (const juce::StringArray& arguments, const WorldMaker& makeDemoWorld)
{
    const auto options = CliOptions::parse (arguments, juce::File::getCurrentWorkingDirectory());

    if (options.error.isNotEmpty())
        return usageError (options.error);

    if (options.command == CliOptions::Command::help)
    {
        std::cout << CliOptions::usage();
        return (int) ExitCode::success;
    }

    if (options.demo && makeDemoWorld == nullptr)
        return usageError ("this build has no demo");

    Terminal::prepare();
    InterruptFlag::install();

   #if ! JUCE_WINDOWS
    // A pipe whose reader has gone (the trace's, or the output's) fails the write rather
    // than ending the program, perhaps while a device is being programmed.
    std::signal (SIGPIPE, SIG_IGN);
   #endif

    // The workers never wait for the message thread here, but JUCE's MIDI and network
    // code may post to it, so it exists, and StepRunner runs its loop while waiting.
    const juce::ScopedJuceInitialiser_GUI juceSystem;
    const auto world = options.demo ? makeDemoWorld() : std::make_unique<ProgramWorld>();
    return runCommand (options, *world);
}
