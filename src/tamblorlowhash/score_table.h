#pragma once
// Layout of the score table, for the table code and its tests.
#include <cstdint>

#pragma pack(push, 1)
struct ScoreTableSlot {
    std::uint8_t used;  // 1 = filled
    std::uint32_t keyLow;
    std::uint32_t keyHigh;
    std::int16_t score;  // the node's starting bound, |score| < 31000
    std::int8_t depth;
    std::uint8_t castleEpState;
    std::uint8_t age;
};
struct ScoreTableEntry {
    ScoreTableSlot deepSlot;
    ScoreTableSlot recentSlot;
};
#pragma pack(pop)
static_assert(sizeof(ScoreTableSlot) == 14);
static_assert(sizeof(ScoreTableEntry) == 28);

constexpr std::uint32_t scoreTableEntries = 1u << 19;
constexpr std::uint32_t scoreTableMask = scoreTableEntries - 1;

// The odd-ply table holds upper bounds of max nodes, the even-ply one lower bounds.
const ScoreTableEntry& scoreTableEntry(bool oddPly, std::uint32_t keyLow);
std::uint64_t scoreTableBytes();
