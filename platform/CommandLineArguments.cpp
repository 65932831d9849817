#include "platform/CommandLineArguments.h"

#include <juce_events/juce_events.h>

juce::StringArray CommandLineArguments::of (int argc, const char* const* argv)
{
   #if JUCE_WINDOWS
    juce::ignoreUnused (argc, argv);
    return juce::JUCEApplicationBase::getCommandLineParameterArray();
   #else
    // Arguments are UTF-8 text here; JUCE would read a plain char* as ASCII.
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return arguments;
   #endif
}
