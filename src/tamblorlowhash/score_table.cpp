// The score table: full-width nodes whose value never left its starting bound. A later
// visit with a starting bound no better than the stored one can stop at once.
#include "tamblorlowhash/score_table.h"

#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblorvars/table_memory.h"

namespace {

// Static storage: zero-filled by the loader, no allocation at run time.
ScoreTableEntry oddPlyTable[scoreTableEntries];
ScoreTableEntry evenPlyTable[scoreTableEntries];

// Before the first store: huge pages where the system offers them.
[[maybe_unused]] const bool hugePagesAdvised = [] {
    adviseHugePages(oddPlyTable, sizeof oddPlyTable);
    adviseHugePages(evenPlyTable, sizeof evenPlyTable);
    return true;
}();

inline ScoreTableEntry& entryFor(bool oddPly, std::uint32_t keyLow) {
    return (oddPly ? oddPlyTable : evenPlyTable)[keyLow & scoreTableMask];
}

inline bool settlesNode(const ScoreTableSlot& slot, bool oddPly, int initial, int depth,
                        const NodeState& node) {
    if (slot.used != 1 || slot.keyLow != node.keyLow || slot.keyHigh != node.keyHigh ||
        slot.castleEpState != node.castleEpState)
        return false;
    if (slot.depth < depth) return false;
    return oddPly ? initial >= slot.score : initial <= slot.score;
}

}  // namespace

const ScoreTableEntry& scoreTableEntry(bool oddPly, std::uint32_t keyLow) { return entryFor(oddPly, keyLow); }

std::uint64_t scoreTableBytes() { return sizeof(oddPlyTable) + sizeof(evenPlyTable); }

void storeScoreTable(const EngineState& state, int score, int depth, const NodeState& node) {
    // Mate-range values depend on the path length and are never kept here.
    if (score >= 31000 || score <= -31000) return;
    ScoreTableEntry& entry = entryFor((state.ply & 1) != 0, node.keyLow);
    ScoreTableSlot slot;
    slot.used = 1;
    slot.keyLow = node.keyLow;
    slot.keyHigh = node.keyHigh;
    slot.score = static_cast<std::int16_t>(score);
    slot.depth = static_cast<std::int8_t>(depth);
    slot.castleEpState = node.castleEpState;
    slot.age = state.tableAge;
    entry.recentSlot = slot;
    const ScoreTableSlot deep = entry.deepSlot;
    if (deep.age != slot.age || deep.used == 0 || deep.depth <= slot.depth) entry.deepSlot = slot;
}

bool probeScoreTable(const EngineState& state, int initial, int depth, const NodeState& node) {
    const bool oddPly = (state.ply & 1) != 0;
    const ScoreTableEntry& entry = entryFor(oddPly, node.keyLow);
    const ScoreTableSlot deep = entry.deepSlot;
    if (settlesNode(deep, oddPly, initial, depth, node)) return true;
    const ScoreTableSlot recent = entry.recentSlot;
    return settlesNode(recent, oddPly, initial, depth, node);
}

void prefetchScoreTable(bool oddPly, std::uint32_t keyLow) {
    prefetchEntry(&entryFor(oddPly, keyLow), sizeof(ScoreTableEntry));
}

// An empty slot is one with used 0 and age 0; zeroing the whole table is as good and faster.
void clearScoreTable() {
    clearTable(oddPlyTable, sizeof oddPlyTable);
    clearTable(evenPlyTable, sizeof evenPlyTable);
}
