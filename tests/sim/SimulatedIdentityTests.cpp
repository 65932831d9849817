#include "sim/SimulatedCommand.h"
#include "tests/sim/SimulatedDeviceTest.h"

namespace
{
    const simbytes::Bytes identityPayload { 0x7F, 0x7F, 0x7F };
}

TEST_F (SimulatedDeviceTest, IdentityReplyCarriesDeviceIdModeByteAndBothTexts)
{
    start (calvio());

    const auto reply = exchange (request (SimulatedCommand::identityRequest, identityPayload));

    EXPECT_EQ (reply, "F0 06 01 05 02 02 00 01 05 02 00 00 43 56 00 2D 35 00 52 65 76 65 00 72 62 20 4F 6E 65 00 59 F7");
    const auto payload = simbytes::payloadOf (reply);
    const auto expected = simbytes::fromHex ("01 05 02 00 00 43 56 2D 35 00 52 65 76 65 72 62 20 4F 6E 65 00");
    EXPECT_EQ (payload, expected);
}

TEST_F (SimulatedDeviceTest, IdentityReplyInItsShortFormsStopsAfterTheModeOrTheExtraByte)
{
    auto config = calvio();
    config.identityForm = SimulatedDeviceConfig::IdentityForm::fiveBytes;
    start (config);
    EXPECT_EQ (exchange (request (SimulatedCommand::identityRequest, identityPayload)), "F0 06 01 05 02 02 00 01 05 02 00 00 04 F7");

    config.identityForm = SimulatedDeviceConfig::IdentityForm::fourBytes;
    start (config);
    EXPECT_EQ (exchange (request (SimulatedCommand::identityRequest, identityPayload)), "F0 06 01 05 02 02 00 01 05 02 00 04 F7");
}

TEST_F (SimulatedDeviceTest, IdentityReplyInUpdateModeSaysSoUnderTheUpdateProductId)
{
    auto config = calvio();
    config.startsInUpdateMode = true;
    start (config);

    EXPECT_EQ (exchange (request (SimulatedCommand::identityRequest, identityPayload, true)),
               "F0 06 01 05 03 02 00 01 05 03 01 00 43 56 00 2D 35 00 52 65 76 65 00 72 62 20 4F 6E 65 00 58 F7");
}

TEST_F (SimulatedDeviceTest, NameIsSentAsGivenInLatin1WithAQuestionMarkForOtherCharacters)
{
    auto config = calvio();
    config.modelText = {};
    config.name = "  Spaced Name  ";
    start (config);
    EXPECT_EQ (exchange (request (SimulatedCommand::identityRequest, identityPayload)),
               "F0 06 01 05 02 02 00 01 05 02 00 00 00 20 00 20 53 70 61 63 65 64 00 20 4E 61 6D 65 20 20 00 00 23 F7");

    config.name = juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9\xe2\x82\xac"));
    start (config);
    EXPECT_EQ (exchange (request (SimulatedCommand::identityRequest, identityPayload)),
               "F0 06 01 05 02 02 00 01 05 02 00 00 00 43 10 61 66 69 3F 00 06 F7");
}

TEST_F (SimulatedDeviceTest, CalvioModel1A2AnswersTheIdentityRequestTwice)
{
    start (model (TargetBrand::Calvio, 0x1A, 0x02, 0x02, "Hall"));

    host.send (request (SimulatedCommand::identityRequest, identityPayload));

    ASSERT_TRUE (host.waitForReceived (2));
    const juce::String reply = "F0 06 01 1A 02 02 00 01 1A 02 00 00 00 48 00 61 6C 6C 00 2D F7";
    EXPECT_EQ (host.getReceived(), (std::vector<juce::String> { reply, reply }));
}

TEST_F (SimulatedDeviceTest, VersionReplyCarriesItsTwoVersionBytes)
{
    auto config = calvio();
    config.versionB0 = 0x0A;
    config.versionB1 = 0x99;
    start (config);

    EXPECT_EQ (exchange (request (SimulatedCommand::versionRequest)), "F0 06 01 05 02 09 20 0A 19 3A F7");
}
