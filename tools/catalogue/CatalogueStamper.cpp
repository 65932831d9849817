#include "tools/catalogue/CatalogueStamper.h"

#include "catalogue/ExpectedImage.h"
#include "tools/catalogue/ProgramCatalogue.h"
#include "tools/catalogue/RevisionTags.h"
#include "tools/catalogue/StartTag.h"
#include "tools/catalogue/ToolError.h"
#include "tools/catalogue/ToolFiles.h"

CatalogueStamper::Result CatalogueStamper::stamp (const juce::MemoryBlock& catalogue) const
{
    const auto read = ProgramCatalogue::read (catalogue);
    auto utf8 = read.text.toStdString();
    const auto tags = RevisionTags::find (utf8);

    // A Revision the program passes over (in a second Revisions list, say) would shift
    // every stamp after it onto the wrong image.
    juce::StringArray tagUrls, programUrls;

    for (const auto& tag : tags)
        tagUrls.add (tag.imageUrl);

    for (const auto* product : read.catalogue->products)
        for (const auto* revision : product->revisions)
            programUrls.add (revision->imageUrl);

    if (tagUrls != programUrls)
        throw ToolError ("The catalogue has Revision elements that the program does not read; remove them first");

    Result result;

    // From the end, so that the offsets of the tags before stay true.
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag)
    {
        const auto lookup = images.find (tag->imageUrl);

        if (! lookup.file.has_value())
        {
            result.unstamped.insert (0, tag->imageUrl + ": " + lookup.whyNot);
            continue;
        }

        const auto image = readImage (*lookup.file);
        StartTag startTag (utf8.substr (tag->start, tag->length));
        startTag.set ("Size", juce::String ((juce::int64) image.getSize()));
        startTag.set ("Sha256", ExpectedImage::sha256Of (image));
        utf8.replace (tag->start, tag->length, startTag.getText());
        ++result.stamped;
    }

    result.catalogue = juce::MemoryBlock (utf8.data(), utf8.size());
    return result;
}

juce::String CatalogueStamper::describe (const juce::MemoryBlock& image)
{
    return "Size=\"" + juce::String ((juce::int64) image.getSize()) + "\" Sha256=\"" + ExpectedImage::sha256Of (image) + "\"";
}

juce::MemoryBlock CatalogueStamper::readImage (const juce::File& image)
{
    return ToolFiles::read (image, ExpectedImage::largestImage, "image");
}
