#include "catalogue/TargetsInfoDownloadThread.h"

#include <algorithm>

#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"
#include "catalogue/XmlParserGuard.h"

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

    // Only valid UTF-8 may reach the XML parser: it trusts a sequence's first byte for
    // the sequence's length, so one cut short at the end runs it past the text. Text that
    // is not UTF-8 is read as Windows-1252, as JUCE reads such text files.
    const auto text = juce::String::createStringFromData (begin, (int) (end - begin));

    // A web server's error page instead of the file.
    if (text.startsWith ("<!DOCTYPE HTML"))
        return {};

    return std::make_unique<juce::XmlDocument> (XmlParserGuard::safeText (text));
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
