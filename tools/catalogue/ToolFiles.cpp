#include "tools/catalogue/ToolFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
   #if JUCE_WINDOWS
    // Windows has no owner-only mode: who may read a secret key is the folder's
    // permissions' business there.
    constexpr int createOnlyFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_NOINHERIT;
    constexpr int modeFor (bool) { return 0600; }
   #else
    constexpr int createOnlyFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    constexpr int modeFor (bool secret) { return secret ? 0600 : 0644; }
   #endif
}

#include "catalogue/RegularFileInputStream.h"
#include "tools/catalogue/ToolError.h"

juce::MemoryBlock ToolFiles::read (const juce::File& file, juce::int64 limit, const juce::String& what)
{
    if (! file.existsAsFile())
        throw ToolError ("The " + what + " " + file.getFullPathName() + " does not exist");

    // Opened without waiting: a pipe given as a key or an image would hold the tool until
    // someone wrote to it.
    RegularFileInputStream stream (file.getFullPathName());

    if (stream.getKind() != RegularFileInputStream::Kind::regularFile)
        throw ToolError ("The " + what + " " + file.getFullPathName() + " cannot be read: it is not a regular file");

    // One byte past the limit tells a file that is too large, even one still growing.
    juce::MemoryBlock data;
    stream.readIntoMemoryBlock (data, (ssize_t) limit + 1);

    if (stream.hasFailed())
        throw ToolError ("The " + what + " " + file.getFullPathName() + " cannot be read");

    if ((juce::int64) data.getSize() > limit)
        throw ToolError ("The " + what + " " + file.getFullPathName() + " is larger than " + juce::String (limit)
                         + " bytes, more than any " + what + " may be");

    return data;
}

void ToolFiles::replace (const juce::File& file, const juce::MemoryBlock& data)
{
    // JUCE writes a temporary file beside it and moves that over it.
    if (! file.replaceWithData (data.getData(), data.getSize()))
        throw ToolError ("Could not write " + file.getFullPathName());
}

bool ToolFiles::isReadableByOthers (const juce::File& file)
{
   #if JUCE_WINDOWS
    juce::ignoreUnused (file);
    return false;
   #else
    struct stat status {};
    return ::stat (file.getFullPathName().toRawUTF8(), &status) == 0 && (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
   #endif
}

void ToolFiles::createNew (const juce::File& file, const juce::String& text, bool secret)
{
    const auto path = file.getFullPathName();
   #if JUCE_WINDOWS
    // open takes the ANSI code page there, which loses any character outside it.
    const auto descriptor = ::_wopen (path.toWideCharPointer(), createOnlyFlags, modeFor (secret));
   #else
    const auto descriptor = ::open (path.toRawUTF8(), createOnlyFlags, modeFor (secret));
   #endif

    if (descriptor < 0)
        throw ToolError (errno == EEXIST ? path + " already exists; it is left as it is"
                                         : "Could not create " + path + ": " + juce::String::fromUTF8 (std::strerror (errno)));

    const auto bytes = text.toStdString();
    const auto written = ::write (descriptor, bytes.data(), bytes.size());
    const auto closed = ::close (descriptor);

    if (written != (ssize_t) bytes.size() || closed != 0)
    {
        file.deleteFile();
        throw ToolError ("Could not write " + path);
    }
}
