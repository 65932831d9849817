#include "device/CommHostException.h"
#include "device/CommTargetException.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
    std::string targetTextOf (juce::uint8 command, juce::int32 errorCode)
    {
        return CommTargetException (command, errorCode).what();
    }

    std::string textCaughtAsCommException (const std::function<void()>& thrower)
    {
        try
        {
            thrower();
        }
        catch (const CommException& e)
        {
            return e.what();
        }

        return "nothing thrown";
    }
}

TEST (CommException, PlainErrorHasTheGeneralText)
{
    EXPECT_STREQ (CommException().what(), "An unspecified communication error has occured");
}

TEST (CommHostException, EachHostErrorHasItsText)
{
    EXPECT_STREQ (CommHostException (CommHostException::NoResponse).what(), "No reponse was received from the device");
    EXPECT_STREQ (CommHostException (CommHostException::CorruptReply).what(), "The device returned corrupt data");
    EXPECT_STREQ (CommHostException (CommHostException::UnexpectedReply).what(), "An unexpected or invalid message was received");
}

TEST (CommHostException, UnknownHostErrorsHaveNoText)
{
    EXPECT_STREQ (CommHostException (3).what(), "");
    EXPECT_STREQ (CommHostException (-1).what(), "");
}

TEST (CommTargetException, EachErrorCodeHasItsTextWithTheCommandInHex)
{
    const char* const expected[] = {
        "Command 0x7B is not implemented by the device",
        "Command 0x7B specified an invalid Parameter ID for the device",
        "Command 0x7B specified an invalid Effect Type ID for the device",
        "Command 0x7B specified an invalid Modifier Group ID for the device",
        "Command 0x7B specified an invalid Section ID for the device",
        "Command 0x7B specified an out-of-range index for the device",
        "Command 0x7B specified an invalid bank for the device",
        "Command 0x7B contained corrupt data",
        "Request command 0x7B specified an invalid size parameter",
        "Receive command 0x7B specified an invalid size parameter",
        "Command 0x7B caused a buffer overrun on the device",
        "The device could not execute command 0x7B in its current mode",
        "Command 0x7B failed",
        "Command 0x7B contained invalid data"
    };

    for (juce::int32 code = 0; code < 14; ++code)
        EXPECT_EQ (targetTextOf (0x7B, code), expected[code]) << "code " << code;
}

TEST (CommTargetException, CommandIsUpperCaseHexWithoutLeadingZeros)
{
    EXPECT_EQ (targetTextOf (0x7A, 12), "Command 0x7A failed");
    EXPECT_EQ (targetTextOf (0x05, 0), "Command 0x5 is not implemented by the device");
    EXPECT_EQ (targetTextOf (0x00, 12), "Command 0x0 failed");
    EXPECT_EQ (targetTextOf (0xFF, 7), "Command 0xFF contained corrupt data");
}

TEST (CommTargetException, UnknownAndNegativeCodesHaveNoText)
{
    EXPECT_EQ (targetTextOf (0x7A, 14), "");
    EXPECT_EQ (targetTextOf (0x7A, 255), "");
    EXPECT_EQ (targetTextOf (0x7A, -1), "");
    EXPECT_EQ (targetTextOf (0x7A, std::numeric_limits<juce::int32>::min()), "");
}

TEST (CommTargetException, CopyCarriesEveryFieldAndOutlivesTheOriginal)
{
    auto original = std::make_unique<CommTargetException> ((juce::uint8) 0x7A, 12);
    const auto* originalText = original->what();
    const CommTargetException copy (*original);

    EXPECT_EQ (copy.command, 0x7A);
    EXPECT_EQ (copy.errorCode, 12);
    EXPECT_EQ (original->what(), originalText);

    original.reset();
    EXPECT_STREQ (copy.what(), "Command 0x7A failed");
}

TEST (CommException, DerivedErrorsKeepTheirTextsWhenCaughtAsTheBase)
{
    EXPECT_EQ (textCaughtAsCommException ([] { throw CommHostException (CommHostException::NoResponse); }),
               "No reponse was received from the device");
    EXPECT_EQ (textCaughtAsCommException ([] { throw CommTargetException (0x71, 11); }),
               "The device could not execute command 0x71 in its current mode");
    EXPECT_EQ (textCaughtAsCommException ([] { throw CommException(); }),
               "An unspecified communication error has occured");
}
