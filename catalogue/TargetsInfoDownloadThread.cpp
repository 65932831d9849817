#include "catalogue/TargetsInfoDownloadThread.h"

#include <algorithm>

#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"

TargetsInfoDownloadThread::TargetsInfoDownloadThread (const juce::StringArray& sourcesToTry,
                                                      juce::Component* page,
                                                      StatusReporter* reporterToUse)
    : juce::Thread ("Downloading"),
      sources (sourcesToTry),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr),
      reporter (reporterToUse)
{
}

TargetsInfoDownloadThread::~TargetsInfoDownloadThread()
{
    // Every wait of the thread ends within about a second of being told to exit.
    stopThread (stopTimeoutMs);
}

void TargetsInfoDownloadThread::run()
{
    std::unique_ptr<juce::XmlDocument> document;

    for (const auto& source : sources)
    {
        if (threadShouldExit())
            break;

        if ((document = fetchTargetsFile (source)) != nullptr)
            break;
    }

    if (document != nullptr)
        parse (*document);

    if (pageState != nullptr)
        pageState->exitModalState (1);
}

std::unique_ptr<juce::XmlDocument> TargetsInfoDownloadThread::fetchTargetsFile (const juce::String& source)
{
    if (reporter != nullptr)
        reporter->reportStatus ("Locating targets file...");

    const auto data = download (source, shouldAbort, this, reporter);

    if (data == nullptr)
        return {};

    const auto* begin = static_cast<const char*> (data->getData());
    const auto* end = std::find (begin, begin + data->getSize(), '\0');

    // Bytes that are not valid UTF-8 stay in the text as they are; the XML parser
    // reads them without running past the end.
    const auto text = juce::String (juce::CharPointer_UTF8 (begin), juce::CharPointer_UTF8 (end));

    // A web server's error page instead of the file.
    if (text.startsWith ("<!DOCTYPE HTML"))
        return {};

    return std::make_unique<juce::XmlDocument> (text);
}

bool TargetsInfoDownloadThread::shouldAbort (void* context)
{
    const auto& thread = *static_cast<const TargetsInfoDownloadThread*> (context);
    return thread.threadShouldExit()
        || (thread.pageState != nullptr && ! thread.pageState->isStillModal());
}

void TargetsInfoDownloadThread::parse (juce::XmlDocument& document)
{
    try
    {
        catalogue = parseTargetsFile (document);
        status = catalogue != nullptr ? TargetsResult::TargetsOk : TargetsResult::TargetsEmpty;
    }
    catch (const XmlParseException& e)
    {
        errorMessage = juce::String::fromUTF8 (e.what());
        status = TargetsResult::TargetsParseError;
    }
}
