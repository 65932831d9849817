#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The benchmarks run on the message thread, as the wizard's controller does, so that a
// page's modal loop dispatches what workers hand over to it.
int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    // JUCE sets up Xlib for threads and installs its X error handlers only in a
    // standalone application; without them a window on a display with no window
    // manager aborts the process on the first harmless X error.
    juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };

    const juce::ScopedJuceInitialiser_GUI juce;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
