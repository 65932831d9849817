#include <iostream>

#include "platform/CommandLineArguments.h"
#include "tools/catalogue/CatalogueTool.h"

int main (int argc, char* argv[])
{
    return CatalogueTool::run (CommandLineArguments::of (argc, argv), juce::File::getCurrentWorkingDirectory(), std::cout, std::cerr);
}
