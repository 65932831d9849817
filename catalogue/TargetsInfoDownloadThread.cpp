#include "catalogue/TargetsInfoDownloadThread.h"

#include <algorithm>

#include "catalogue/DownloadRefusedException.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"

TargetsInfoDownloadThread::TargetsInfoDownloadThread (const juce::StringArray& sourcesToTry,
                                                      juce::Component* page,
                                                      StatusReporter* reporterToUse)
    : PageWorker ("Downloading", page),
      FileDownloader (largestTargetsFile, Sources::webAndLocalFiles),
      sources (sourcesToTry),
      reporter (reporterToUse)
{
}

TargetsInfoDownloadThread::~TargetsInfoDownloadThread()
{
    // Here rather than in the base, whose destructor runs after the members the
    // thread uses are gone; every wait of the thread, and the parse, ends within
    // about a second of this.
    stop();
}

void TargetsInfoDownloadThread::work()
{
    for (const auto& source : sources)
    {
        if (threadShouldExit())
            break;

        try
        {
            if (const auto text = fetchTargetsFile (source))
            {
                parse (*text, FileDownloader::isLocalFile (source));
                break;
            }
        }
        catch (const DownloadRefusedException& e)
        {
            // Too large, or redirected elsewhere: the source answered, with something
            // that is not a catalogue.
            errorMessage = juce::String::fromUTF8 (e.what());
            status = TargetsResult::TargetsParseError;
            break;
        }
    }
}

std::optional<juce::String> TargetsInfoDownloadThread::fetchTargetsFile (const juce::String& source)
{
    if (reporter != nullptr)
        reporter->reportStatus ("Locating targets file...");

    const auto data = download (source, shouldAbort, abortContext(), reporter);

    if (data == nullptr)
        return {};

    const auto* begin = static_cast<const char*> (data->getData());
    const auto* end = std::find (begin, begin + data->getSize(), '\0');

    // Text that is not UTF-8 is read as Windows-1252, as JUCE reads such text files, so
    // that a catalogue saved in that encoding still reads.
    auto text = juce::String::createStringFromData (begin, (int) (end - begin));

    // A web server's error page instead of the file.
    if (text.startsWith ("<!DOCTYPE HTML"))
        return {};

    return text;
}

void TargetsInfoDownloadThread::parse (const juce::String& text, bool fromLocalFile)
{
    try
    {
        // Stopped part-way, it leaves the status at "not found": whoever stopped it
        // takes no result.
        catalogue = parseTargetsFile (text, [this] { return shouldAbort(); });

        if (catalogue == nullptr)
            return;

        catalogue->cameFromLocalFile = fromLocalFile;
        status = TargetsResult::TargetsOk;
    }
    catch (const XmlParseException& e)
    {
        errorMessage = juce::String::fromUTF8 (e.what());
        status = TargetsResult::TargetsParseError;
    }
}
