#pragma once
// Sets of playing squares as 64-bit masks (bit 8 x rank + file, a1 = bit 0) and the
// squares each piece could reach from each square on an empty board. The capture
// generator tests these against the enemy men before it walks a piece's steps and rays:
// a piece whose reach holds no enemy man has nothing to take.
#include <array>
#include <cstdint>

#include "tamblorbasis/board_bits.h"

namespace reach {

constexpr bool onBoard(int s) { return s >= 21 && s <= 98 && s % 10 != 0 && s % 10 != 9; }
constexpr std::uint64_t maskOf(int s) { return std::uint64_t{1} << (8 * (s / 10 - 2) + s % 10 - 1); }

using MaskTable = std::array<std::uint64_t, 64>;

constexpr MaskTable stepTable(std::array<int, 8> steps, int count) {
    MaskTable table{};
    for (int i = 0; i < 64; ++i)
        for (int k = 0; k < count; ++k)
            if (onBoard(squareOfBit[i] + steps[k])) table[i] |= maskOf(squareOfBit[i] + steps[k]);
    return table;
}

constexpr MaskTable rayTable(std::array<int, 8> steps, int count) {
    MaskTable table{};
    for (int i = 0; i < 64; ++i)
        for (int k = 0; k < count; ++k)
            for (int t = squareOfBit[i] + steps[k]; onBoard(t); t += steps[k]) table[i] |= maskOf(t);
    return table;
}

inline constexpr MaskTable knight = stepTable({8, 19, 21, 12, -8, -19, -21, -12}, 8);
inline constexpr MaskTable king = stepTable({9, 10, 11, 1, -9, -10, -11, -1}, 8);
inline constexpr MaskTable straight = rayTable({10, 1, -1, -10}, 4);
inline constexpr MaskTable diagonal = rayTable({9, 11, -9, -11}, 4);
// One line each, indexed like the generator's rays: 10, 1, -1, -10, 9, 11, -9, -11.
inline constexpr std::array<MaskTable, 8> line = {
    rayTable({10}, 1), rayTable({1}, 1), rayTable({-1}, 1), rayTable({-10}, 1),
    rayTable({9}, 1),  rayTable({11}, 1), rayTable({-9}, 1), rayTable({-11}, 1),
};

}  // namespace reach
