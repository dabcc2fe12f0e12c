#pragma once
// Layout of the main transposition table, for the table code and its tests.
#include <cstdint>

#include "tamblorbasis/board.h"

#pragma pack(push, 1)
struct MainTableSlot {
    Move move;  // 0 = empty slot
    std::uint32_t keyLow;
    std::uint32_t keyHigh;
    std::int16_t score;
    std::int8_t depth;  // remaining depth of the search that stored it
    std::uint8_t castleEpState;
    std::uint8_t age;  // tableAge when stored
};
struct MainTableEntry {
    MainTableSlot deepSlot;    // keeps a deeper result of the current age
    MainTableSlot recentSlot;  // always the newest store
};
#pragma pack(pop)
static_assert(sizeof(MainTableSlot) == 17);
static_assert(sizeof(MainTableEntry) == 34);

constexpr std::uint32_t mainTableEntries = 1u << 20;
constexpr std::uint32_t mainTableMask = mainTableEntries - 1;

// Scores planted with the previous line: outside every window, so they only give a move.
constexpr int rootLineMaxScore = -32001;
constexpr int rootLineMinScore = 32001;
constexpr std::int8_t rootLineDepth = static_cast<std::int8_t>(0x83);

// maxTable serves odd plies (engine to move), minTable even plies.
const MainTableEntry& mainTableEntry(bool maxTable, std::uint32_t keyLow);
// Overwrites both slots of the slot's entry (the planted line wins over everything).
void plantMainTableSlot(bool maxTable, const MainTableSlot& slot);
std::uint64_t mainTableBytes();
