#pragma once
// Without SSE2 the side sets are read a rank at a time: a rank's eight playing squares as
// one 64-bit word (a-file in the low byte), and a flag bit at bit 8 x file-index of each
// square that answers a question.
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "rank words put the a-file in the low byte");

constexpr std::uint64_t rankFlagBits = 0x0101010101010101ull;

// Squares a1 + 10 x rankIndex .. h1 + 10 x rankIndex.
inline std::uint64_t rankWord(const std::uint8_t* squares, int rankIndex) {
    std::uint64_t word;
    std::memcpy(&word, squares + 21 + 10 * rankIndex, sizeof word);
    return word;
}

// Flags of the squares holding a White piece (value & 3 == 1) or a Black one (== 2).
inline std::uint64_t whitePieceFlags(std::uint64_t word) { return word & ~(word >> 1) & rankFlagBits; }
inline std::uint64_t blackPieceFlags(std::uint64_t word) { return (word >> 1) & ~word & rankFlagBits; }
// Flags of the squares that hold anything but a pawn (every other value is 4 or more).
inline std::uint64_t nonPawnFlags(std::uint64_t word) { return ((word >> 2) | (word >> 3) | (word >> 4)) & rankFlagBits; }

// The eight flags of a rank as one byte (bit = file index), by a multiply that gathers
// bit 8 x i into bit 56 + i without carries.
inline std::uint64_t packFlags(std::uint64_t flags) { return (flags * 0x0102040810204080ull) >> 56; }
