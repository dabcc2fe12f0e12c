#pragma once
// The two transposition tables are static arrays probed at random: on Linux they are
// aligned to huge pages and the kernel is asked to back them so, which spares most of the
// address-translation misses. Elsewhere, or when the kernel declines, nothing changes.
#include <cstddef>

#ifdef __linux__
#include <sys/mman.h>
#endif

#ifdef __linux__
constexpr std::size_t tableAlignment = std::size_t{1} << 21;
#else
constexpr std::size_t tableAlignment = 64;
#endif

inline void adviseHugePages([[maybe_unused]] void* table, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(table, bytes, MADV_HUGEPAGE);  // a refusal only leaves ordinary pages
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
