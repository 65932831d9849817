#pragma once

#include <juce_core/juce_core.h>

/** An in-memory stream that can behave like the less friendly streams an image may
    come through: one that only moves forward, or one that stops delivering. It
    refuses positions outside its data instead of clamping them, and counts how
    often it was moved.
*/
class TestImageStream : public juce::InputStream
{
public:
    explicit TestImageStream (juce::MemoryBlock data);

    void refuseBackwardMoves() noexcept { forwardOnly = true; }
    void stopDelivering() noexcept { delivering = false; }
    int getMoveCount() const noexcept { return moveCount; }

    juce::int64 getTotalLength() override;
    bool isExhausted() override;
    int read (void* destBuffer, int maxBytesToRead) override;
    juce::int64 getPosition() override;
    bool setPosition (juce::int64 newPosition) override;

private:
    juce::MemoryBlock data;
    juce::int64 position = 0;
    bool forwardOnly = false;
    bool delivering = true;
    int moveCount = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TestImageStream)
};
