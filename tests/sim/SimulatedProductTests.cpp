#include "sim/SimulatedProduct.h"

#include <gtest/gtest.h>

namespace
{
    SimulatedProduct product (TargetBrand brand, juce::uint8 familyId, juce::uint8 productId, juce::uint8 updateProductId)
    {
        SimulatedProduct p;
        p.brand = brand;
        p.familyId = familyId;
        p.productId = productId;
        p.updateProductId = updateProductId;
        return p;
    }
}

TEST (SimulatedProduct, OnlyTheCalvio1A2AnswersIdentityTwiceAndOnlyTheBrisma5C4WaitsForAReopen)
{
    struct Case { TargetBrand brand; juce::uint8 familyId; juce::uint8 productId; bool twice; bool reopen; };
    const Case cases[] {
        { TargetBrand::Calvio, 0x1A, 2, true, false },
        { TargetBrand::Calvio, 0x1A, 1, false, false },
        { TargetBrand::Brisma, 0x1A, 2, false, false },
        { TargetBrand::Brisma, 0x5C, 4, false, true },
        { TargetBrand::Calvio, 0x5C, 4, false, false },
        { TargetBrand::Brisma, 0x5C, 3, false, false }
    };

    for (const auto& c : cases)
    {
        const auto config = product (c.brand, c.familyId, c.productId, c.productId).toConfig();
        EXPECT_EQ (config.answersIdentityTwice, c.twice) << (int) c.familyId << "/" << (int) c.productId;
        EXPECT_EQ (config.needsReopenAfterUpdateMode, c.reopen) << (int) c.familyId << "/" << (int) c.productId;
    }
}

TEST (SimulatedProduct, AcknowledgesUpdateModeOnlyWhenItKeepsItsProductIdThere)
{
    EXPECT_TRUE (product (TargetBrand::Calvio, 0x05, 0x02, 0x02).toConfig().acknowledgesUpdateMode);
    EXPECT_FALSE (product (TargetBrand::Calvio, 0x05, 0x02, 0x03).toConfig().acknowledgesUpdateMode);
}

TEST (SimulatedMemoryMap, CoveringSpansTheFlashFromTheLowestRegionStartToTheHighestRegionEnd)
{
    const auto map = SimulatedMemoryMap::covering (128, { { 0x20000, 0x1000 }, { 0x8000, 0x800 } });

    EXPECT_EQ (map.blockSize, 128);
    ASSERT_EQ (map.regions.size(), 2u);
    EXPECT_EQ (map.flashStart, 0x8000u);
    EXPECT_EQ (map.flashSize, 0x19000u);
    EXPECT_EQ (SimulatedMemoryMap::covering (128, {}).flashSize, 0u);
}
