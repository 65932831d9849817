#pragma once

#include <cstddef>

/** What this process holds on the C heap, counted by the benchmark executable's own
    malloc, free, realloc, calloc and aligned allocation functions, which forward to
    the C library's allocator. Everything that allocates goes through them: operator
    new, JUCE's HeapBlock and MemoryBlock, the C library itself.

    A block counts with its usable size (what the allocator really set aside for it,
    not what was asked for). Any thread; the figures are exact at every allocation.
*/
namespace HeapCounter
{
    /** The bytes held now. */
    std::size_t held() noexcept;

    /** Starts a new window: its peak starts at what is held now, the others at 0. */
    void startWindow() noexcept;

    /** The most bytes held at once since the window started. */
    std::size_t peak() noexcept;

    /** The largest single block allocated (or grown to) since the window started. */
    std::size_t largestBlock() noexcept;

    /** The bytes that realloc copied from a moving block to its new place since the
        window started. While a block is copied both copies are held, and the peak
        includes that.
    */
    std::size_t copiedByRealloc() noexcept;

    /** The largest block that realloc copied since the window started. */
    std::size_t largestCopyByRealloc() noexcept;
}
