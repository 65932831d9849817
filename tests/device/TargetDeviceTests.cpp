#include "device/DeviceCommand.h"
#include "tests/device/ScriptedDeviceTest.h"

class TargetDeviceModel : public ScriptedDeviceTest
{
protected:
    /** A device identified with the given mode and name and, when running, version bytes. */
    std::unique_ptr<MidiTargetDevice> deviceThatReports (const TargetProduct& product, juce::uint8 mode,
                                                         std::optional<std::string> name,
                                                         juce::uint8 b0 = 1, juce::uint8 b1 = 0x50)
    {
        endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, mode, name)) });

        if (mode == 0)
            endpoint.thenAnswer ({ reply (DeviceCommand::VersionReply, { b0, b1 }) });

        return probedDevice (product);
    }

    static TargetProduct productWithRevisions (std::initializer_list<const char*> versions)
    {
        auto product = calvioProduct();
        product.name = "Echo Park";

        for (const auto* version : versions)
            product.revisions.add (std::make_unique<TargetRevision> (TargetRevision { version, "2020", {}, {}, {} }));

        return product;
    }
};

TEST_F (TargetDeviceModel, DisplayNameHasFourFormsByNameAndMode)
{
    const auto product = productWithRevisions ({});

    EXPECT_EQ (deviceThatReports (product, 1, "Blue")->getDisplayName(), "Echo Park \"Blue\" (waiting for update)");
    EXPECT_EQ (deviceThatReports (product, 1, std::nullopt)->getDisplayName(), "Echo Park (waiting for update)");
    EXPECT_EQ (deviceThatReports (product, 0, "Blue")->getDisplayName(), "Echo Park \"Blue\" (at version 1.5)");
    EXPECT_EQ (deviceThatReports (product, 0, "")->getDisplayName(), "Echo Park (at version 1.5)");
}

TEST_F (TargetDeviceModel, NewestUpdateIsTheFirstOfTheHighestVersionsWhenNewerThanTheDevice)
{
    const auto product = productWithRevisions ({ "1.10", "1.20", "1.20" });
    const auto device = deviceThatReports (product, 0, "Blue", 1, 0x15);

    ASSERT_NE (device->findNewestUpdate(), nullptr);
    EXPECT_EQ (device->findNewestUpdate(), device->product.revisions[1]);
}

TEST_F (TargetDeviceModel, NewestUpdateIsNoneWhenItIsNotNewerThanTheDevice)
{
    const auto product = productWithRevisions ({ "1.10", "1.20", "1.20" });

    EXPECT_EQ (deviceThatReports (product, 0, "Blue", 1, 0x21)->findNewestUpdate(), nullptr);
    EXPECT_EQ (deviceThatReports (product, 0, "Blue", 2, 0x00)->findNewestUpdate(), nullptr);
}

TEST_F (TargetDeviceModel, DeviceWaitingForUpdateWithoutVersionIsOfferedTheNewest)
{
    const auto product = productWithRevisions ({ "1.30", "1.20" });
    const auto device = deviceThatReports (product, 1, std::nullopt);

    EXPECT_EQ (device->findNewestUpdate(), device->product.revisions[0]);
}

TEST_F (TargetDeviceModel, ProductWithoutRevisionsHasNoNewestUpdate)
{
    EXPECT_EQ (deviceThatReports (productWithRevisions ({}), 1, std::nullopt)->findNewestUpdate(), nullptr);
}

TEST_F (TargetDeviceModel, DeviceKeepsItsOwnCopyOfTheProduct)
{
    auto catalogueProduct = std::make_unique<TargetProduct> (productWithRevisions ({ "1.30" }));
    const auto device = makeDevice (*catalogueProduct);
    catalogueProduct.reset();

    EXPECT_EQ (device->product.name, "Echo Park");
    ASSERT_EQ (device->product.revisions.size(), 1);
    EXPECT_EQ (device->product.revisions[0]->version, "1.30");
}
