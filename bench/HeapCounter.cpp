#include "bench/HeapCounter.h"

#include <atomic>
#include <cerrno>
#include <malloc.h>
#include <unistd.h>

// The C library's own allocator, under the names it exports for allocators that wrap it.
extern "C"
{
    void* __libc_malloc (std::size_t size);
    void* __libc_calloc (std::size_t count, std::size_t size);
    void* __libc_realloc (void* block, std::size_t size);
    void* __libc_memalign (std::size_t alignment, std::size_t size);
    void __libc_free (void* block);
}

namespace
{
    std::atomic<std::size_t> heldBytes { 0 };
    std::atomic<std::size_t> peakBytes { 0 };
    std::atomic<std::size_t> largestBytes { 0 };
    std::atomic<std::size_t> copiedBytes { 0 };
    std::atomic<std::size_t> largestCopy { 0 };

    void raiseTo (std::atomic<std::size_t>& maximum, std::size_t value) noexcept
    {
        auto seen = maximum.load (std::memory_order_relaxed);

        while (value > seen && ! maximum.compare_exchange_weak (seen, value, std::memory_order_relaxed))
        {
        }
    }

    void* counted (void* block) noexcept
    {
        if (block != nullptr)
        {
            const auto size = malloc_usable_size (block);
            raiseTo (peakBytes, heldBytes.fetch_add (size, std::memory_order_relaxed) + size);
            raiseTo (largestBytes, size);
        }

        return block;
    }

    void uncount (void* block) noexcept
    {
        if (block != nullptr)
            heldBytes.fetch_sub (malloc_usable_size (block), std::memory_order_relaxed);
    }
}

namespace HeapCounter
{
    std::size_t held() noexcept
    {
        return heldBytes.load();
    }

    void startWindow() noexcept
    {
        peakBytes = heldBytes.load();
        largestBytes = 0;
        copiedBytes = 0;
        largestCopy = 0;
    }

    std::size_t peak() noexcept
    {
        return peakBytes.load();
    }

    std::size_t largestBlock() noexcept
    {
        return largestBytes.load();
    }

    std::size_t copiedByRealloc() noexcept
    {
        return copiedBytes.load();
    }

    std::size_t largestCopyByRealloc() noexcept
    {
        return largestCopy.load();
    }
}

extern "C"
{
    void* malloc (std::size_t size) noexcept
    {
        return counted (__libc_malloc (size));
    }

    void* calloc (std::size_t count, std::size_t size) noexcept
    {
        return counted (__libc_calloc (count, size));
    }

    // A block that moves is copied, and both copies are held during the copy; except a
    // block the C library keeps in pages of its own (glibc's IS_MMAPPED bit in the word
    // ahead of the block), whose pages the kernel moves without copying them.
    void* realloc (void* block, std::size_t size) noexcept
    {
        if (block == nullptr)
            return malloc (size);

        const bool inOwnPages = (static_cast<const std::size_t*> (block)[-1] & 0x2) != 0;
        const auto oldSize = malloc_usable_size (block);
        const auto before = heldBytes.fetch_sub (oldSize, std::memory_order_relaxed);
        auto* grown = __libc_realloc (block, size);

        if (grown == nullptr && size > 0)
        {
            heldBytes.fetch_add (oldSize, std::memory_order_relaxed);
            return nullptr;
        }

        if (grown != block && ! inOwnPages)
        {
            copiedBytes.fetch_add (oldSize, std::memory_order_relaxed);
            raiseTo (largestCopy, oldSize);
            raiseTo (peakBytes, before + malloc_usable_size (grown));
        }

        return counted (grown);
    }

    void* reallocarray (void* block, std::size_t count, std::size_t size) noexcept
    {
        std::size_t total = 0;

        if (__builtin_mul_overflow (count, size, &total))
        {
            errno = ENOMEM;
            return nullptr;
        }

        return realloc (block, total);
    }

    void free (void* block) noexcept
    {
        uncount (block);
        __libc_free (block);
    }

    void* memalign (std::size_t alignment, std::size_t size) noexcept
    {
        return counted (__libc_memalign (alignment, size));
    }

    void* aligned_alloc (std::size_t alignment, std::size_t size) noexcept
    {
        return memalign (alignment, size);
    }

    int posix_memalign (void** result, std::size_t alignment, std::size_t size) noexcept
    {
        if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;

        auto* block = memalign (alignment, size);

        if (block == nullptr)
            return ENOMEM;

        *result = block;
        return 0;
    }

    void* valloc (std::size_t size) noexcept
    {
        return memalign ((std::size_t) sysconf (_SC_PAGESIZE), size);
    }

    void* pvalloc (std::size_t size) noexcept
    {
        const auto page = (std::size_t) sysconf (_SC_PAGESIZE);
        return memalign (page, (size + page - 1) / page * page);
    }
}
