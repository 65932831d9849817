#include "device/sysex/SysexException.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
    std::string descriptionOf (juce::int32 kind)
    {
        return pex::SysexException (static_cast<pex::SysexErrorKind> (kind)).GetDescription();
    }
}

TEST (SysexException, EachKindHasItsOwnText)
{
    EXPECT_EQ (descriptionOf (0), "MIDI SysEx message is incomplete");
    EXPECT_EQ (descriptionOf (1), "MIDI SysEx message is corrupt");
    EXPECT_EQ (descriptionOf (2), "MIDI SysEx message contains an invalid header");
    EXPECT_EQ (descriptionOf (3), "The system reported an error in a SysEx message");
}

TEST (SysexException, UnknownKindsShareAGeneralText)
{
    EXPECT_EQ (descriptionOf (4), "MIDI SysEx exception");
    EXPECT_EQ (descriptionOf (-1), "MIDI SysEx exception");
    EXPECT_EQ (descriptionOf (1000), "MIDI SysEx exception");
}

TEST (SysexException, IsCaughtAsAMidiExceptionAndKeepsItsKindWhenCopied)
{
    try
    {
        throw pex::SysexException (pex::SysexErrorKind::Corrupt);
    }
    catch (const pex::MidiException& e)
    {
        EXPECT_STREQ (e.what(), "MIDI exception");

        const auto* sysex = dynamic_cast<const pex::SysexException*> (&e);
        ASSERT_NE (sysex, nullptr);

        const pex::SysexException copy (*sysex);
        EXPECT_EQ (copy.GetKind(), pex::SysexErrorKind::Corrupt);
        EXPECT_STREQ (copy.GetDescription(), "MIDI SysEx message is corrupt");
    }
}
