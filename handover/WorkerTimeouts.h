#pragma once

/** How long the message thread waits for a worker of the wizard. */
struct WorkerTimeouts
{
    /** After a worker's page has left its modal loop, the time it has to end by itself.
        Every wait of a worker wakes up within about a second of being told to exit; a
        worker that has not ended by then is kept running, never killed.
    */
    static constexpr int graceMs = 1000;
};
