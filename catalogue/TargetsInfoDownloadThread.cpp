#include "catalogue/TargetsInfoDownloadThread.h"

#include "catalogue/CatalogueText.h"
#include "catalogue/DownloadRefusedException.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"

TargetsInfoDownloadThread::TargetsInfoDownloadThread (const juce::StringArray& sourcesToTry,
                                                      juce::Component* page,
                                                      StatusReporter* reporterToUse,
                                                      std::optional<CatalogueSigner> signerToRequire)
    : PageWorker ("Downloading", page),
      FileDownloader (largestTargetsFile, Sources::webAndLocalFiles),
      sources (sourcesToTry),
      reporter (reporterToUse),
      signer (std::move (signerToRequire)),
      signatureDownloader (CatalogueSignature::largestFile, Sources::webOnly)
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
            if (searchEndsWith (source))
                break;
        }
        catch (const DownloadRefusedException& e)
        {
            // Too large, or redirected elsewhere: the source answered, with something
            // that is not a catalogue.
            refuse (juce::String::fromUTF8 (e.what()));
            break;
        }
    }
}

bool TargetsInfoDownloadThread::searchEndsWith (const juce::String& source)
{
    const auto data = fetchBytes (source);
    const auto text = data != nullptr ? catalogueTextOf (*data) : std::nullopt;

    if (! text.has_value())
        return false;

    const auto fromLocalFile = FileDownloader::isLocalFile (source);

    if (! signer.has_value() || fromLocalFile)
    {
        parse (*text, fromLocalFile);
        return true;
    }

    const auto verdict = checkSignature (source, *data);

    // Stopped while the signature was on its way: like a stopped parse, no result.
    if (shouldAbort())
        return true;

    if (! verdict.signature.has_value())
    {
        refuse (verdict.refusal);
        return true;
    }

    parse (*text, false);

    if (catalogue != nullptr)
        takeSigned (*verdict.signature);

    return true;
}

std::optional<juce::String> TargetsInfoDownloadThread::fetchTargetsFile (const juce::String& source)
{
    const auto data = fetchBytes (source);
    return data != nullptr ? catalogueTextOf (*data) : std::nullopt;
}

std::unique_ptr<juce::MemoryBlock> TargetsInfoDownloadThread::fetchBytes (const juce::String& source)
{
    if (reporter != nullptr)
        reporter->reportStatus ("Locating targets file...");

    return download (source, shouldAbort, abortContext(), reporter);
}

std::optional<juce::String> TargetsInfoDownloadThread::catalogueTextOf (const juce::MemoryBlock& data)
{
    auto text = CatalogueText::decode (data);

    // A web server's error page instead of the file.
    if (text.startsWith ("<!DOCTYPE HTML"))
        return {};

    return text;
}

CatalogueSigner::Verdict TargetsInfoDownloadThread::checkSignature (const juce::String& source,
                                                                    const juce::MemoryBlock& catalogueBytes)
{
    std::unique_ptr<juce::MemoryBlock> file;

    try
    {
        file = signatureDownloader.download (CatalogueSignature::addressFor (source), shouldAbort, abortContext(), nullptr);
    }
    catch (const DownloadRefusedException&)
    {
        // A signature larger than any, or redirected where no download may go: none.
    }

    return signer->check (catalogueBytes, file.get(), source, juce::Time::getCurrentTime());
}

void TargetsInfoDownloadThread::takeSigned (const CatalogueSignature& signature)
{
    // The signature covers the image's address, size and digest only through the
    // catalogue: an image without a digest could be swapped on the way.
    for (const auto* product : catalogue->products)
    {
        for (const auto* revision : product->revisions)
        {
            if (revision->imageSha256.isEmpty())
            {
                refuse ("The catalogue gives no SHA-256 digest for the image of " + product->name + " version "
                        + revision->version + ", so that image could not be checked; the vendor must stamp the catalogue");
                catalogue.reset();
                return;
            }
        }
    }

    signer->remember (signature);
}

void TargetsInfoDownloadThread::refuse (const juce::String& why)
{
    errorMessage = why;
    status = TargetsResult::TargetsParseError;
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
        refuse (juce::String::fromUTF8 (e.what()));
    }
}
