#pragma once
// The 64 playing squares as bits of a set (bit 8 x rank-index + file-index: a1 is bit 0,
// b1 bit 1, a2 bit 8), shared by the move generators and the evaluation: the mailbox
// square of each bit, the bit of each square, and the board read two ranks at a time.
#include <array>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// The mailbox square of a set bit.
inline constexpr std::array<std::uint8_t, 64> squareOfBit = [] {
    std::array<std::uint8_t, 64> t{};
    for (int bit = 0; bit < 64; ++bit) t[bit] = static_cast<std::uint8_t>(21 + 10 * (bit >> 3) + (bit & 7));
    return t;
}();

// The set bit of a mailbox square (playing squares only).
inline constexpr std::array<std::uint8_t, 128> bitOfSquare = [] {
    std::array<std::uint8_t, 128> t{};
    for (int bit = 0; bit < 64; ++bit) t[squareOfBit[bit]] = static_cast<std::uint8_t>(bit);
    return t;
}();

#if defined(__SSE2__) || defined(_M_X64)
// Ranks 2 x pair and 2 x pair + 1 (from the first) in one register, a-file in the low byte
// of each half: sixteen squares a byte compare or shift answers at once.
inline __m128i rankPair(const std::uint8_t* squares, int pair) {
    const std::uint8_t* low = squares + 21 + 20 * pair;
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(low)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(low + 10)));
}
#endif
