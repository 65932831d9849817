#include <iostream>

#include "tools/catalogue/CatalogueTool.h"

int main (int argc, char* argv[])
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return CatalogueTool::run (arguments, juce::File::getCurrentWorkingDirectory(), std::cout, std::cerr);
}
