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
#ifdef __SSE2__
#include <emmintrin.h>
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
inline void clearInPieces(char* p, std::size_t bytes) {
    constexpr std::size_t piece = 1024;
    for (std::size_t done = 0; done < bytes; done += piece)
        std::memset(p + done, 0, bytes - done < piece ? bytes - done : piece);
}

// Zero-fills a table. Its whole cache lines are written with streaming stores: ordinary
// stores would first read every line of the tables (100 MB) from memory and push the
// search's own data out of the cache, only to be overwritten.
inline void clearTable(void* table, std::size_t bytes) {
    char* const p = static_cast<char*>(table);
#ifdef __SSE2__
    constexpr std::uintptr_t line = 64;
    constexpr std::size_t block = 4 * line;  // four lines a step: the loop costs little
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(p);
    const std::size_t head = ((start + line - 1) & ~(line - 1)) - start;
    if (bytes >= head + block) {
        const std::size_t blocks = (bytes - head) / block;
        char* const first = p + head;
        const __m128i zero = _mm_setzero_si128();
        for (std::size_t i = 0; i < blocks; ++i) {
            __m128i* q = reinterpret_cast<__m128i*>(first + i * block);
            for (int k = 0; k < 16; ++k) _mm_stream_si128(q + k, zero);
        }
        _mm_sfence();  // the streamed lines are in memory before the table is used again
        clearInPieces(p, head);
        clearInPieces(first + blocks * block, bytes - head - blocks * block);
        return;
    }
#endif
    clearInPieces(p, bytes);
}
