#include "tests/device/TestImageStream.h"

TestImageStream::TestImageStream (juce::MemoryBlock dataToRead)
    : data (std::move (dataToRead))
{
}

juce::int64 TestImageStream::getTotalLength()
{
    return (juce::int64) data.getSize();
}

bool TestImageStream::isExhausted()
{
    return position >= getTotalLength();
}

int TestImageStream::read (void* destBuffer, int maxBytesToRead)
{
    if (! delivering)
        return 0;

    const auto count = (int) juce::jlimit ((juce::int64) 0, getTotalLength() - position, (juce::int64) maxBytesToRead);
    data.copyTo (destBuffer, (int) position, (size_t) count);
    position += count;
    return count;
}

juce::int64 TestImageStream::getPosition()
{
    return position;
}

bool TestImageStream::setPosition (juce::int64 newPosition)
{
    if (newPosition == position)
        return true;

    if (newPosition < 0 || newPosition > getTotalLength() || (forwardOnly && newPosition < position))
        return false;

    position = newPosition;
    ++moveCount;
    return true;
}
