#include "catalogue/RegularFileInputStream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#if JUCE_WINDOWS
 #include <io.h>
#else
 #include <unistd.h>
#endif

namespace
{
   #if JUCE_WINDOWS
    using Status = struct _stat64;

    bool statusOf (const juce::String& path, Status& status) { return _wstat64 (path.toWideCharPointer(), &status) == 0; }
    int openWithoutWaiting (const juce::String& path) { return _wopen (path.toWideCharPointer(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }
    bool statusOf (int descriptor, Status& status) { return _fstat64 (descriptor, &status) == 0; }
    int readFrom (int descriptor, void* buffer, int size) { return _read (descriptor, buffer, (unsigned int) size); }
    juce::int64 seek (int descriptor, juce::int64 position) { return _lseeki64 (descriptor, position, SEEK_SET); }
    void closeDescriptor (int descriptor) { _close (descriptor); }
   #else
    using Status = struct stat;

    bool statusOf (const juce::String& path, Status& status) { return stat (path.toRawUTF8(), &status) == 0; }

    // Without waiting: a pipe opens at once instead of waiting for a writer, and a
    // terminal does not become the program's own. Reading a regular file is unaffected.
    int openWithoutWaiting (const juce::String& path) { return open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); }
    bool statusOf (int descriptor, Status& status) { return fstat (descriptor, &status) == 0; }
    int readFrom (int descriptor, void* buffer, int size) { return (int) ::read (descriptor, buffer, (size_t) size); }
    juce::int64 seek (int descriptor, juce::int64 position) { return lseek (descriptor, (off_t) position, SEEK_SET); }
    void closeDescriptor (int descriptor) { close (descriptor); }
   #endif

    RegularFileInputStream::Kind kindOf (const Status& status)
    {
        using Kind = RegularFileInputStream::Kind;
        const auto type = status.st_mode & S_IFMT;

        if (type == S_IFREG)  return Kind::regularFile;
        if (type == S_IFDIR)  return Kind::folder;
        if (type == S_IFIFO)  return Kind::pipe;
        if (type == S_IFCHR)  return Kind::device;
       #if ! JUCE_WINDOWS
        if (type == S_IFBLK)  return Kind::device;
        if (type == S_IFSOCK) return Kind::socket;
       #endif
        return Kind::otherKind;
    }
}

RegularFileInputStream::RegularFileInputStream (const juce::String& path)
{
    Status status {};

    if (! statusOf (path, status))
        return;

    if ((kind = kindOf (status)) != Kind::regularFile)
        return;

    descriptor = openWithoutWaiting (path);

    if (descriptor < 0 || ! statusOf (descriptor, status))
    {
        kind = Kind::missing;
        return;
    }

    kind = kindOf (status);
    length = static_cast<juce::int64> (status.st_size);
}

RegularFileInputStream::~RegularFileInputStream()
{
    if (descriptor >= 0)
        closeDescriptor (descriptor);
}

int RegularFileInputStream::read (void* destBuffer, int maxBytesToRead)
{
    if (kind != Kind::regularFile || failed || maxBytesToRead <= 0)
        return 0;

    int bytesRead;

    do
        bytesRead = readFrom (descriptor, destBuffer, maxBytesToRead);
    while (bytesRead < 0 && errno == EINTR);

    if (bytesRead < 0)
    {
        failed = true;
        return 0;
    }

    position += bytesRead;
    return bytesRead;
}

bool RegularFileInputStream::setPosition (juce::int64 newPosition)
{
    if (kind != Kind::regularFile || seek (descriptor, newPosition) < 0)
        return false;

    position = newPosition;
    return true;
}
