#pragma once
// The two transposition tables are static arrays probed at random. On Linux the kernel is
// asked to back them with huge pages, which spares most of the address-translation misses;
// elsewhere, or when the kernel declines, nothing changes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#endif

// Advises the 2 MiB pages that lie wholly inside the table (the arrays keep their ordinary
// alignment, which leaves the program's layout as it was).
inline void adviseHugePages([[maybe_unused]] void* table, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t hugePage = std::uintptr_t{1} << 21;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(table);
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(hugePage - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);  // refusal: ordinary pages
#endif
}

// Fetches the cache lines of a table entry ahead of its probe.
inline void prefetchEntry(const void* entry, std::size_t bytes) {
#if defined(__GNUC__)
    const char* first = static_cast<const char*>(entry);
    __builtin_prefetch(first);
    __builtin_prefetch(first + bytes - 1);
#else
    (void)entry;
    (void)bytes;
#endif
}

// Zero-fills a table in pieces of 1 KiB: the C library fills larger blocks with a string
// instruction that instruction counters (callgrind) count once per byte, which would drown
// the search in the figures; the memory traffic is the same.
inline void clearTable(void* table, std::size_t bytes) {
    constexpr std::size_t piece = 1024;
    char* p = static_cast<char*>(table);
    for (std::size_t done = 0; done < bytes; done += piece)
        std::memset(p + done, 0, bytes - done < piece ? bytes - done : piece);
}
