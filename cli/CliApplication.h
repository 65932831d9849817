#pragma once

#include "cli/CliWorld.h"

#include <functional>
#include <memory>

/** The whole of quillon-cli: reads the command line, sets JUCE up on the calling thread
    (which becomes its message thread), runs the command on the computer's ports or the
    demo's, and returns the exit code. Entry points call it and do nothing else.
*/
struct CliApplication
{
    using WorldMaker = std::function<std::unique_ptr<CliWorld>()>;

    /** arguments without the program's name. makeDemoWorld makes the world of --demo;
        empty in a build without the demo, where --demo is refused.
    */
    static int run (const juce::StringArray& arguments, const WorldMaker& makeDemoWorld);
};
