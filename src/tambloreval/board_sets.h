#pragma once
// The playing squares as 64-bit sets by colour and by kind, read from the mailbox in one
// pass so that the evaluation visits each kind of man without asking every square what
// it holds. Bits are numbered as the move generators number them (board_bits.h), unlike
// the file-major pawn sets of NodeState.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "tamblorbasis/board_bits.h"

namespace evalrules {

struct BoardSets {
    std::uint64_t white, black;
    std::uint64_t pawns, knights, bishops, rooks, queens;  // both colours
    std::uint64_t whiteGuards, blackGuards;                // the squares each side's pawns guard
};

constexpr std::uint64_t aFile = 0x0101010101010101ull, hFile = aFile << 7;

// The squares that a pawn of the colour guards.
constexpr std::uint64_t whitePawnGuards(std::uint64_t pawns) { return ((pawns & ~aFile) << 7) | ((pawns & ~hFile) << 9); }
constexpr std::uint64_t blackPawnGuards(std::uint64_t pawns) { return ((pawns & ~aFile) >> 9) | ((pawns & ~hFile) >> 7); }

// The squares one leap away from each square, by (file, rank) steps.
constexpr std::array<std::uint64_t, 64> leapMasks(const int (&steps)[8][2]) {
    std::array<std::uint64_t, 64> t{};
    for (int bit = 0; bit < 64; ++bit)
        for (const auto& step : steps) {
            const int f = (bit & 7) + step[0], r = (bit >> 3) + step[1];
            if (f >= 0 && f < 8 && r >= 0 && r < 8) t[bit] |= std::uint64_t{1} << (8 * r + f);
        }
    return t;
}
constexpr int knightLeaps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr int kingLeaps[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr std::array<std::uint64_t, 64> knightReach = leapMasks(knightLeaps);
constexpr std::array<std::uint64_t, 64> kingReach = leapMasks(kingLeaps);

// The squares on a square's file and rank, and on its diagonals: where a rook or a
// bishop must stand to see it at all.
constexpr std::array<std::uint64_t, 64> lineMasks(bool straight) {
    std::array<std::uint64_t, 64> t{};
    for (int a = 0; a < 64; ++a)
        for (int bit = 0; bit < 64; ++bit) {
            const int df = (bit & 7) - (a & 7), dr = (bit >> 3) - (a >> 3);
            const bool on = straight ? (df == 0) != (dr == 0) : df != 0 && (df == dr || df == -dr);
            if (on) t[a] |= std::uint64_t{1} << bit;
        }
    return t;
}
constexpr std::array<std::uint64_t, 64> straightLines = lineMasks(true);
constexpr std::array<std::uint64_t, 64> diagonalLines = lineMasks(false);

// Calls visit(square) for every square of the set, from a1 upwards.
template <class Visit>
inline void forEachSquare(std::uint64_t set, Visit visit) {
    for (; set != 0; set &= set - 1) visit(static_cast<int>(squareOfBit[std::countr_zero(set)]));
}

// Calls visit(bit) for every set bit, lowest first.
template <class Visit>
inline void forEachBit(std::uint64_t set, Visit visit) {
    for (; set != 0; set &= set - 1) visit(std::countr_zero(set));
}

namespace detail {

// Bit k of each of the 64 square values, one set per k: a piece code's colour sits in
// bits 0 and 1, its kind in bits 2 to 4.
struct BitPlanes {
    std::uint64_t p[5];
};

inline BitPlanes bitPlanes(const std::uint8_t* squares) {
    BitPlanes planes{};
#if defined(__SSE2__) || defined(_M_X64)
    // Two ranks per register; shifting each 64-bit lane left brings bit k of every byte to
    // its sign bit without mixing bytes (from bit 4 down, one more place each time), and
    // movemask gathers the sixteen signs.
    __m128i v[4];
    for (int pair = 0; pair < 4; ++pair) v[pair] = _mm_slli_epi64(rankPair(squares, pair), 3);
    for (int k = 4; k >= 0; --k) {
        std::uint64_t plane = 0;
        for (int pair = 0; pair < 4; ++pair) {
            plane |= std::uint64_t(unsigned(_mm_movemask_epi8(v[pair]))) << (16 * pair);
            v[pair] = _mm_add_epi64(v[pair], v[pair]);
        }
        planes.p[k] = plane;
    }
#else
    // The same with one rank word at a time: the multiplication packs the low bit of each
    // byte into the top byte.
    for (int rank = 0; rank < 8; ++rank) {
        std::uint64_t word;
        std::memcpy(&word, squares + 21 + 10 * rank, sizeof word);
        for (int k = 0; k < 5; ++k)
            planes.p[k] |= ((((word >> k) & 0x0101010101010101ull) * 0x0102040810204080ull) >> 56) << (8 * rank);
    }
#endif
    return planes;
}

}  // namespace detail

inline BoardSets readBoardSets(const std::uint8_t* squares) {
    const detail::BitPlanes planes = detail::bitPlanes(squares);
    const std::uint64_t c0 = planes.p[0], c1 = planes.p[1], k0 = planes.p[2], k1 = planes.p[3], k2 = planes.p[4];
    // Kind = value div 4: pawn 0, knight 1, bishop 2, rook 3, queen 4, king 5. Only the
    // playing squares are read, so colour bit 0 is White and bit 1 Black (never both).
    BoardSets s;
    s.white = c0;
    s.black = c1;
    s.pawns = (c0 | c1) & ~(k0 | k1 | k2);
    s.knights = k0 & ~(k1 | k2);
    s.bishops = k1 & ~k0;
    s.rooks = k0 & k1;
    s.queens = k2 & ~k0;
    s.whiteGuards = whitePawnGuards(s.pawns & c0);
    s.blackGuards = blackPawnGuards(s.pawns & c1);
    return s;
}

}  // namespace evalrules
