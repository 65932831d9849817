#include <benchmark/benchmark.h>

// Nothing here needs JUCE's message manager; a benchmark that does must create it.
int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
