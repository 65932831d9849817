#pragma once

#include <juce_core/juce_core.h>

/** Reads a local file that must be a regular file.

    A path in a catalogue may name a pipe, a device or a folder: opening a pipe waits
    for a writer, and reading one or a device may never end, so neither could be
    cancelled. The path is examined before it is opened, and opened without waiting
    and examined again through what was opened, so that nothing swapped in between
    gets read. Used on one thread at a time.
*/
class RegularFileInputStream final : public juce::InputStream
{
public:
    enum class Kind
    {
        regularFile,
        missing,      // nothing there, or it cannot be opened
        folder,
        pipe,
        device,
        socket,
        otherKind
    };

    explicit RegularFileInputStream (const juce::String& path);
    ~RegularFileInputStream() override;

    /** What the path named: only a regularFile has been opened. */
    Kind getKind() const noexcept { return kind; }

    /** True once a read has failed, rather than reached the end. */
    bool hasFailed() const noexcept { return failed; }

    juce::int64 getTotalLength() override { return length; }
    bool isExhausted() override { return position >= length; }
    int read (void* destBuffer, int maxBytesToRead) override;
    juce::int64 getPosition() override { return position; }
    bool setPosition (juce::int64 newPosition) override;

private:
    int descriptor = -1;
    Kind kind = Kind::missing;
    juce::int64 length = 0;
    juce::int64 position = 0;
    bool failed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RegularFileInputStream)
};
