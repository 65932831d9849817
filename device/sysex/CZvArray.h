#pragma once

#include <juce_core/juce_core.h>

#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

/** A growable array of plain values that never shrinks its block.

    The block starts with room for 8 elements. Whenever an addition would not fit,
    the capacity is doubled until it does and the block is reallocated once, so
    adding one element at a time costs amortized constant time. Lowering the count
    keeps the block.
*/
template <typename ElementType>
class CZvArray
{
public:
    static_assert (std::is_trivially_copyable_v<ElementType>,
                   "elements are moved by reallocating the block");

    CZvArray()
    {
        data.malloc (capacity);
    }

    virtual ~CZvArray() = default;

    juce::int32 GetCount() const noexcept { return count; }
    juce::int32 GetCapacity() const noexcept { return capacity; }
    ElementType* GetData() noexcept { return data.get(); }
    const ElementType* GetData() const noexcept { return data.get(); }

    ElementType& operator[] (juce::int32 index) noexcept
    {
        jassert (juce::isPositiveAndBelow (index, count));
        return data[index];
    }

    const ElementType& operator[] (juce::int32 index) const noexcept
    {
        jassert (juce::isPositiveAndBelow (index, count));
        return data[index];
    }

    void Add (ElementType value)
    {
        Reserve ((juce::int64) count + 1);
        data[count++] = value;
    }

    void Append (const ElementType* values, juce::int32 numValues)
    {
        if (numValues <= 0)
            return;

        Reserve ((juce::int64) count + numValues);
        std::memcpy (data + count, values, (size_t) numValues * sizeof (ElementType));
        count += numValues;
    }

    /** Adds numValues elements, left for the caller to write, and returns the first;
        the block may move, so pointers taken before are stale. Lets a caller that
        transforms a run of values write them in place instead of one Add each.
    */
    ElementType* Extend (juce::int32 numValues)
    {
        jassert (numValues >= 0);
        Reserve ((juce::int64) count + numValues);
        const auto first = count;
        count += numValues;
        return data + first;
    }

    /** Makes the block hold at least this many elements, by the doubling rule. */
    void Reserve (juce::int64 numElements)
    {
        if (numElements <= capacity)
            return;

        // Doubling past the largest count would overflow the capacity.
        if (numElements > std::numeric_limits<juce::int32>::max() / 2)
            throw std::bad_alloc();

        auto newCapacity = capacity;

        while (newCapacity < numElements)
            newCapacity *= 2;

        data.realloc ((size_t) newCapacity);
        capacity = newCapacity;
    }

    void RemoveLast() noexcept
    {
        if (count > 0)
            --count;
    }

private:
    juce::int32 capacity = 8;
    juce::int32 count = 0;
    juce::HeapBlock<ElementType, true> data;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CZvArray)
};
