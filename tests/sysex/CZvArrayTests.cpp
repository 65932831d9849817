#include "device/sysex/CZvArray.h"

#include <gtest/gtest.h>

namespace
{
    void addCountingUpTo (CZvArray<unsigned char>& array, int count)
    {
        for (int i = 0; i < count; ++i)
            array.Add ((unsigned char) i);
    }
}

TEST (CZvArray, StartsEmptyWithRoomForEight)
{
    CZvArray<unsigned char> array;

    EXPECT_EQ (array.GetCount(), 0);
    EXPECT_EQ (array.GetCapacity(), 8);
}

TEST (CZvArray, DoublesCapacityOnlyWhenAnAdditionDoesNotFit)
{
    CZvArray<unsigned char> array;

    addCountingUpTo (array, 8);

    EXPECT_EQ (array.GetCapacity(), 8);

    array.Add (8);
    EXPECT_EQ (array.GetCapacity(), 16);
    EXPECT_EQ (array.GetCount(), 9);
}

TEST (CZvArray, DoublesRepeatedlyUntilALargeAppendFitsAndKeepsTheContents)
{
    CZvArray<unsigned char> array;
    array.Add (0xAB);

    std::vector<unsigned char> values (100);

    for (size_t i = 0; i < values.size(); ++i)
        values[i] = (unsigned char) i;

    array.Append (values.data(), (juce::int32) values.size());

    EXPECT_EQ (array.GetCapacity(), 128);
    EXPECT_EQ (array.GetCount(), 101);
    EXPECT_EQ (array[0], 0xAB);

    for (juce::int32 i = 0; i < 100; ++i)
        ASSERT_EQ (array[i + 1], i);
}

TEST (CZvArray, ReserveGrowsByTheSameRuleAndNeverShrinks)
{
    CZvArray<unsigned char> array;

    array.Reserve (17);
    EXPECT_EQ (array.GetCapacity(), 32);

    array.Reserve (5);
    EXPECT_EQ (array.GetCapacity(), 32);
    EXPECT_EQ (array.GetCount(), 0);
}

TEST (CZvArray, RemovingTheLastElementKeepsTheBlock)
{
    CZvArray<unsigned char> array;

    addCountingUpTo (array, 9);

    array.RemoveLast();

    EXPECT_EQ (array.GetCount(), 8);
    EXPECT_EQ (array.GetCapacity(), 16);

    CZvArray<unsigned char> empty;
    empty.RemoveLast();
    EXPECT_EQ (empty.GetCount(), 0);
}

TEST (CZvArray, RefusesToGrowPastWhatItsCountCanHold)
{
    CZvArray<unsigned char> array;

    EXPECT_THROW (array.Reserve ((juce::int64) std::numeric_limits<juce::int32>::max() + 1), std::bad_alloc);
    EXPECT_EQ (array.GetCapacity(), 8);
}
