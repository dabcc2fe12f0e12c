#pragma once
// Which entries of a table were written since it was last cleared. A search of a few
// seconds touches a small part of the tables, so a clear zeroes those entries alone
// instead of streaming zeros over all 100 MB.
#include <bit>
#include <cstdint>

template <std::uint32_t entries>
struct TouchedEntries {
    static_assert(entries % 64 == 0);
    std::uint64_t words[entries / 64];
};

template <std::uint32_t entries>
inline void markTouched(TouchedEntries<entries>& touched, std::uint32_t index) {
    touched.words[index >> 6] |= std::uint64_t{1} << (index & 63);
}

// Zeroes every touched entry of the table and forgets them: the whole table is zero after.
template <class Entry, std::uint32_t entries>
void clearTouched(Entry* table, TouchedEntries<entries>& touched) {
    for (std::uint32_t w = 0; w < entries / 64; ++w) {
        std::uint64_t bits = touched.words[w];
        if (bits == 0) continue;
        touched.words[w] = 0;
        do {
            table[w * 64 + static_cast<std::uint32_t>(std::countr_zero(bits))] = Entry{};
            bits &= bits - 1;
        } while (bits != 0);
    }
}
