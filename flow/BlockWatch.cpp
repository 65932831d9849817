#include "flow/BlockWatch.h"

BlockWatch::BlockWatch (ProgressReporter* reporterToUse)
    : reporter (reporterToUse)
{
}

void BlockWatch::reportProgress (double fraction)
{
    // A step starts with no progress (a negative fraction); each block ends with one.
    if (fraction >= 0.0)
        blockWritten = true;

    if (reporter != nullptr)
        reporter->reportProgress (fraction);
}
