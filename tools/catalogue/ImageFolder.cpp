#include "tools/catalogue/ImageFolder.h"

#include "catalogue/RegularFileInputStream.h"
#include "catalogue/WebAddress.h"
#include "platform/RealPath.h"

ImageFolder::Lookup ImageFolder::find (const juce::String& address) const
{
    if (address.isEmpty())
        return { {}, "no image address" };

    if (! WebAddress::isAllowed (address))
        return { {}, "not an http or https address the program would fetch" };

    const auto path = decodedPath (address);

    // Refused before the path is joined to the folder, whatever the folder holds; a
    // client would resolve it before asking, to a file elsewhere.
    if (juce::StringArray::fromTokens (path, "/", "").contains (".."))
        return { {}, "its path steps up with \"..\"" };

    const auto relativePath = path.trimCharactersAtStart ("/");

    if (relativePath.isEmpty())
        return { {}, "its path names no file" };

    const auto file = folder.getChildFile (relativePath);

    if (! file.isAChildOf (folder))
        return { {}, "its path leads outside " + folder.getFullPathName() };

    if (! file.existsAsFile())
        return { {}, "no file " + file.getFullPathName() };

    // A link, or a linked folder on the way, may lead anywhere the vendor's account can
    // read; stamping that would publish its size and digest. Real paths are compared as
    // paths, so that a folder /srv/img does not take in /srv/img2.
    const auto realFolder = RealPath::of (folder);
    const auto realFile = RealPath::of (file);

    if (! realFolder.has_value() || ! realFile.has_value())
        return { {}, "its file " + file.getFullPathName() + " cannot be resolved to a real path" };

    if (! realFile->isAChildOf (*realFolder))
        return { {}, "its file " + file.getFullPathName() + " leads through a link to " + realFile->getFullPathName()
                         + ", outside " + folder.getFullPathName() };

    // Reading a pipe would wait for a writer that never comes, and a device may never end.
    if (RegularFileInputStream (file.getFullPathName()).getKind() != RegularFileInputStream::Kind::regularFile)
        return { {}, "its file " + file.getFullPathName() + " is not a regular file" };

    return { file, {} };
}

// The path as a server reads it: without the query or fragment, percent escapes decoded.
juce::String ImageFolder::decodedPath (const juce::String& address)
{
    const auto afterScheme = address.fromFirstOccurrenceOf ("://", false, false);
    const auto pathStart = afterScheme.indexOfChar ('/');

    if (pathStart < 0)
        return "/";

    const auto path = afterScheme.substring (pathStart).upToFirstOccurrenceOf ("?", false, false)
                          .upToFirstOccurrenceOf ("#", false, false);

    // removeEscapeChars reads '+' as a blank, as in a query; in a path it is itself.
    return juce::URL::removeEscapeChars (path.replace ("+", "%2B"));
}
