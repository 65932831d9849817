#include <gtest/gtest.h>

#include "device/DeviceCommand.h"
#include "flow/RevisionChoice.h"
#include "tests/device/ScriptedDeviceTest.h"

// The one rule both front ends offer and pick revisions by.
namespace
{
    struct ChoiceCase
    {
        const char* name;
        std::vector<const char*> revisions;
        const char* deviceVersion;      // nullptr: waiting in update mode, no version read
        const char* versionAsked;       // empty: the newest update
        int chosen;                     // index into revisions, -1: none
    };

    void PrintTo (const ChoiceCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<ChoiceCase>& info)
    {
        return info.param.name;
    }

    class RevisionChoiceRule : public ScriptedDeviceTest,
                               public ::testing::WithParamInterface<ChoiceCase>
    {
    protected:
        // A device of a product with the case's revisions, identified in its running
        // mode at the case's version ("1.21" as the bytes 1 and 0x21), or waiting in
        // update mode.
        std::unique_ptr<MidiTargetDevice> deviceOfCase()
        {
            const auto& testCase = GetParam();
            auto product = calvioProduct();

            for (const auto* version : testCase.revisions)
                product.revisions.add (std::make_unique<TargetRevision> (TargetRevision { version, "2026", {}, {}, {}, {}, {} }));

            const bool waiting = testCase.deviceVersion == nullptr;
            endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, waiting ? 1 : 0, "Blue")) });

            if (! waiting)
            {
                const juce::StringArray parts = juce::StringArray::fromTokens (testCase.deviceVersion, ".", "");
                const auto minor = (juce::uint8) parts[1].getHexValue32();
                endpoint.thenAnswer ({ reply (DeviceCommand::VersionReply, { (juce::uint8) parts[0].getIntValue(), minor }) });
            }

            return probedDevice (product);
        }
    };
}

TEST_P (RevisionChoiceRule, OffersAndChoosesTheSameRevision)
{
    const auto& testCase = GetParam();
    const auto device = deviceOfCase();
    const auto& revisions = device->product.revisions;
    const TargetRevision* expected = testCase.chosen >= 0 ? revisions[testCase.chosen] : nullptr;

    EXPECT_EQ (RevisionChoice::choose (*device, testCase.versionAsked), expected);

    // The wizard's lists: the newest update alone, or every revision in the catalogue's order.
    const auto newestOnly = RevisionChoice::offered (*device, true);

    if (juce::String (testCase.versionAsked).isEmpty())
        EXPECT_EQ (newestOnly, expected != nullptr ? juce::Array<const TargetRevision*> { expected }
                                                   : juce::Array<const TargetRevision*>());

    EXPECT_EQ (RevisionChoice::offered (*device, false), juce::Array<const TargetRevision*> (revisions.begin(), revisions.size()));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Cases, RevisionChoiceRule, ::testing::Values (
    ChoiceCase { "NewestIsNewer", { "1.10", "1.30", "1.21" }, "1.21", "", 1 },
    ChoiceCase { "NewestIsEqual", { "1.10", "1.21" }, "1.21", "", -1 },
    ChoiceCase { "NewestIsOlder", { "1.10" }, "1.21", "", -1 },
    ChoiceCase { "NewestListedTwiceIsTheFirst", { "1.30", "1.10", "1.30" }, "1.21", "", 0 },
    ChoiceCase { "ExactOlderVersionPresent", { "1.10", "1.30" }, "1.21", "1.10", 0 },
    ChoiceCase { "ExactInstalledVersionPresent", { "1.21" }, "1.21", "1.21", 0 },
    ChoiceCase { "ExactVersionAbsent", { "1.10", "1.30" }, "1.21", "1.15", -1 },
    ChoiceCase { "ExactVersionIsTextNotNumber", { "1.30" }, "1.21", "1.3", -1 },
    ChoiceCase { "ExactVersionDuplicatedIsTheFirst", { "1.10", "1.30", "1.30" }, "1.21", "1.30", 1 },
    ChoiceCase { "WaitingInUpdateModeGetsTheNewest", { "1.21", "1.30" }, nullptr, "", 1 },
    ChoiceCase { "WaitingInUpdateModeGetsAnExactVersion", { "1.21", "1.30" }, nullptr, "1.21", 0 },
    ChoiceCase { "NoRevisions", {}, "1.21", "", -1 }), nameOf);
// clang-format on
