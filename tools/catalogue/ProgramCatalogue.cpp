#include "tools/catalogue/ProgramCatalogue.h"

#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "catalogue/XmlParseException.h"
#include "tools/catalogue/ToolError.h"

ProgramCatalogue ProgramCatalogue::read (const juce::MemoryBlock& file)
{
    const auto text = TargetsInfoDownloadThread::catalogueTextOf (file);

    if (! text.has_value())
        throw ToolError ("The catalogue is a web server's error page, not a catalogue");

    try
    {
        return { *text, parseTargetsFile (*text) };
    }
    catch (const XmlParseException& e)
    {
        throw ToolError ("The program would not read this catalogue: " + juce::String::fromUTF8 (e.what()));
    }
}
