// The main transposition table: per position a best move and a bound with its depth.
// Max nodes store only when their value rose, so maxTable holds lower bounds and
// minTable upper bounds.
#include "tamblorhash/main_table.h"

#include <cstring>

#include "tamblorhash/tamblorhash.h"
#include "tamblorvars/table_memory.h"

namespace {

// Static storage: zero-filled by the loader, no allocation at run time.
MainTableEntry maxTable[mainTableEntries];
MainTableEntry minTable[mainTableEntries];

// Before the first store: huge pages where the system offers them.
[[maybe_unused]] const bool hugePagesAdvised = [] {
    adviseHugePages(maxTable, sizeof maxTable);
    adviseHugePages(minTable, sizeof minTable);
    return true;
}();

inline MainTableEntry& entryFor(bool maxTableWanted, std::uint32_t keyLow) {
    return (maxTableWanted ? maxTable : minTable)[keyLow & mainTableMask];
}

inline bool isMaxPly(const EngineState& state) { return (state.ply & 1) != 0; }

// Both key halves in one compare: they lie side by side in the slot and in the node.
inline std::uint64_t slotKey(const MainTableSlot& slot) {
    std::uint64_t key;
    std::memcpy(&key, &slot.keyLow, sizeof key);
    return key;
}
inline std::uint64_t nodeKey(const NodeState& node) {
    return node.keyLow | static_cast<std::uint64_t>(node.keyHigh) << 32;
}

inline bool matches(const MainTableSlot& slot, const NodeState& node) {
    return slot.move != 0 && slotKey(slot) == nodeKey(node) && slot.castleEpState == node.castleEpState;
}

inline bool provesCutoff(const MainTableSlot& slot, bool maxNode, int cutoff, int depth) {
    if (slot.depth < depth) return false;
    return maxNode ? slot.score >= cutoff : slot.score <= cutoff;
}

}  // namespace

const MainTableEntry& mainTableEntry(bool maxTableWanted, std::uint32_t keyLow) {
    return entryFor(maxTableWanted, keyLow);
}

void plantMainTableSlot(bool maxTableWanted, const MainTableSlot& slot) {
    MainTableEntry& entry = entryFor(maxTableWanted, slot.keyLow);
    entry.deepSlot = slot;
    entry.recentSlot = slot;
}

std::uint64_t mainTableBytes() { return sizeof(maxTable) + sizeof(minTable); }

void storeMainTable(const EngineState& state, Move move, int score, int depth, const NodeState& node) {
    if (score > 31000) score = 31000;
    if (score < -31000) score = -31000;
    MainTableEntry& entry = entryFor(isMaxPly(state), node.keyLow);
    MainTableSlot slot;
    slot.move = move;
    slot.keyLow = node.keyLow;
    slot.keyHigh = node.keyHigh;
    slot.score = static_cast<std::int16_t>(score);
    slot.depth = static_cast<std::int8_t>(depth);
    slot.castleEpState = node.castleEpState;
    slot.age = state.tableAge;
    entry.recentSlot = slot;
    const MainTableSlot deep = entry.deepSlot;
    if (deep.age != slot.age || deep.move == 0 || deep.depth <= slot.depth) entry.deepSlot = slot;
}

bool probeMainTable(const EngineState& state, int cutoff, int depth, Move& hashMove, const NodeState& node) {
    const bool maxNode = isMaxPly(state);
    const MainTableEntry& entry = entryFor(maxNode, node.keyLow);
    const MainTableSlot deep = entry.deepSlot;
    const MainTableSlot recent = entry.recentSlot;
    hashMove = 0;
    bool deepGaveMove = false;
    if (matches(deep, node)) {
        hashMove = deep.move;
        deepGaveMove = true;
        if (provesCutoff(deep, maxNode, cutoff, depth)) return true;
    }
    if (matches(recent, node)) {
        if (provesCutoff(recent, maxNode, cutoff, depth)) {
            hashMove = recent.move;
            return true;
        }
        // A recent slot that proves nothing still orders the moves, unless the deep one did.
        if (!deepGaveMove) hashMove = recent.move;
    }
    return false;
}

void prefetchMainTable(bool maxTableWanted, std::uint32_t keyLow) {
    prefetchEntry(&entryFor(maxTableWanted, keyLow), sizeof(MainTableEntry));
}

// An empty slot is one with move 0 and age 0; zeroing the whole table is as good and faster.
void clearMainTable() {
    clearTable(maxTable, sizeof maxTable);
    clearTable(minTable, sizeof minTable);
}
