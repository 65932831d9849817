#include "device/ports/MidiTraceFile.h"

#if ! JUCE_WINDOWS
 #include <cerrno>
 #include <cstring>
 #include <fcntl.h>
 #include <sys/stat.h>
 #include <unistd.h>
#endif

#if JUCE_WINDOWS

std::unique_ptr<juce::OutputStream> MidiTraceFile::open (const juce::File& file, juce::String& error)
{
    if (file.isDirectory())
    {
        error = "it is a folder";
        return nullptr;
    }

    // Opened as it is, not created afresh; then emptied.
    auto stream = std::make_unique<juce::FileOutputStream> (file);

    if (! stream->openedOk() || ! stream->setPosition (0) || stream->truncate().failed())
    {
        error = stream->getStatus().getErrorMessage();
        return nullptr;
    }

    return stream;
}

#else

namespace
{
    juce::String systemError (int number)
    {
        return juce::String::fromUTF8 (std::strerror (number));
    }

    bool isWritableKind (mode_t mode)
    {
        return S_ISREG (mode) || S_ISFIFO (mode);
    }

    juce::String describeRefused (mode_t mode)
    {
        if (S_ISDIR (mode))
            return "it is a folder";

        if (S_ISCHR (mode) || S_ISBLK (mode))
            return "it is a device";

        if (S_ISSOCK (mode))
            return "it is a socket";

        return "it is neither a regular file nor a pipe";
    }

    // Writes each piece whole, or fails.
    class DescriptorOutputStream : public juce::OutputStream
    {
    public:
        explicit DescriptorOutputStream (int descriptorToOwn) : descriptor (descriptorToOwn) {}
        ~DescriptorOutputStream() override { ::close (descriptor); }

        void flush() override {}
        bool setPosition (juce::int64) override { return false; }
        juce::int64 getPosition() override { return written; }

        bool write (const void* data, size_t size) override
        {
            for (auto* bytes = static_cast<const char*> (data); size > 0;)
            {
                const auto count = ::write (descriptor, bytes, size);

                if (count < 0 && errno == EINTR)
                    continue;

                if (count <= 0)
                    return false;

                bytes += count;
                size -= (size_t) count;
                written += count;
            }

            return true;
        }

    private:
        const int descriptor;
        juce::int64 written = 0;

        JUCE_DECLARE_NON_COPYABLE (DescriptorOutputStream)
    };
}

std::unique_ptr<juce::OutputStream> MidiTraceFile::open (const juce::File& file, juce::String& error)
{
    const auto path = file.getFullPathName();
    struct stat node = {};

    // Looked at before it is opened: opening a device node can already act on the device.
    if (stat (path.toRawUTF8(), &node) == 0 && ! isWritableKind (node.st_mode))
    {
        error = describeRefused (node.st_mode);
        return nullptr;
    }

    // Without O_NONBLOCK, opening a pipe that nothing reads from would wait for ever.
    const auto descriptor = ::open (path.toRawUTF8(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);

    if (descriptor < 0)
    {
        error = errno == ENXIO ? juce::String ("it is a pipe that nothing reads from") : systemError (errno);
        return nullptr;
    }

    auto stream = std::make_unique<DescriptorOutputStream> (descriptor);

    // What was opened is looked at again: the name may have been given another node since.
    if (fstat (descriptor, &node) != 0)
    {
        error = systemError (errno);
        return nullptr;
    }

    if (! isWritableKind (node.st_mode))
    {
        error = describeRefused (node.st_mode);
        return nullptr;
    }

    if (S_ISREG (node.st_mode) && ftruncate (descriptor, 0) != 0)
    {
        error = systemError (errno);
        return nullptr;
    }

    // From here a write to a pipe waits while its reader is behind, rather than losing lines.
    fcntl (descriptor, F_SETFL, fcntl (descriptor, F_GETFL) & ~O_NONBLOCK);
    return stream;
}

#endif
