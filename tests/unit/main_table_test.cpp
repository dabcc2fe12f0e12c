#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/main_table.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

constexpr Move moveA = makeMoveWord(35, 55, kindQuiet);  // e2-e4
constexpr Move moveB = makeMoveWord(27, 46, kindQuiet);  // g1-f3
constexpr Move moveC = makeMoveWord(22, 43, kindQuiet);  // b1-c3
// Slots are packed: a slot's move is copied out (Move{...}) before a comparison
// takes it by reference, as a reference to an unaligned word is undefined.

class MainTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearMainTable();
        st.ply = 1;  // odd: the engine to move, lower bounds in maxTable
        st.tableAge = 7;
        node.keyLow = 0x1234ABCD, node.keyHigh = 0x0BADF00D, node.castleEpState = 15;
    }
    const MainTableEntry& entry() const { return mainTableEntry(true, node.keyLow); }
    bool probe(int cutoff, int depth, const NodeState& at) { return probeMainTable(st, cutoff, depth, hash, at); }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    NodeState node{};
    Move hash = 99;
};

TEST_F(MainTable, StoreClampsToTheMateBoundAndKeepsADeeperSlotOfTheSameAge) {
    for (auto [score, stored] : {std::pair{32000, 31000}, {-31998, -31000}, {30999, 30999}}) {
        storeMainTable(st, moveA, score, 4, node);
        EXPECT_EQ(entry().deepSlot.score, stored) << score;
    }
    storeMainTable(st, moveA, 100, 5, node);
    storeMainTable(st, moveB, 50, 3, node);
    EXPECT_EQ(Move{entry().deepSlot.move}, moveA);
    EXPECT_EQ(Move{entry().recentSlot.move}, moveB);
    storeMainTable(st, moveC, 20, 5, node);  // as deep as the deep slot: replaces it
    EXPECT_EQ(Move{entry().deepSlot.move}, moveC);
    st.tableAge = 8;
    storeMainTable(st, moveB, 50, 3, node);  // another age: replaces both
    EXPECT_EQ(Move{entry().deepSlot.move}, moveB);
    EXPECT_EQ(Move{entry().recentSlot.move}, moveB);
}

// Odd plies hold lower bounds, even plies upper bounds; a slot too shallow or with the
// wrong bound still gives its move to order the search.
TEST_F(MainTable, PlyParityChoosesTheTableAndTheBound) {
    storeMainTable(st, moveA, 120, 4, node);
    EXPECT_TRUE(probe(120, 4, node));
    EXPECT_FALSE(probe(121, 4, node));
    EXPECT_FALSE(probe(100, 5, node));
    EXPECT_EQ(hash, moveA);
    st.ply = 2;
    EXPECT_FALSE(probe(500, 0, node));  // the other table: nothing, no move
    EXPECT_EQ(hash, 0u);
    storeMainTable(st, moveB, 120, 4, node);
    EXPECT_TRUE(probe(500, 3, node));
    EXPECT_FALSE(probe(119, 4, node));
    EXPECT_EQ(hash, moveB);
}

TEST_F(MainTable, DeepSlotIsAskedFirstThenTheRecentSlot) {
    storeMainTable(st, moveA, 10, 6, node);   // deep: too low a bound
    storeMainTable(st, moveB, 300, 2, node);  // recent: high enough, shallower
    EXPECT_TRUE(probe(200, 2, node));
    EXPECT_EQ(hash, moveB);
    EXPECT_FALSE(probe(200, 3, node));  // neither proves it: the deep move
    EXPECT_EQ(hash, moveA);
    NodeState other = node;  // same index, another position
    other.keyHigh ^= 1;
    storeMainTable(st, moveC, 10, 8, other);
    storeMainTable(st, moveB, 10, 2, node);
    EXPECT_FALSE(probe(200, 1, node));
    EXPECT_EQ(hash, moveB);
}

TEST_F(MainTable, CastlingOrEnPassantDifferencesNeverMatchAndClearingEmptiesBothTables) {
    storeMainTable(st, moveA, 0, 3, node);
    for (int other : {0, 3, 11, 14, 16 * 5 + 15}) {
        NodeState changed = node;
        changed.castleEpState = static_cast<std::uint8_t>(other);
        EXPECT_FALSE(probe(-100, 0, changed)) << other;
        EXPECT_EQ(hash, 0u) << other;
    }
    st.ply = 2;
    storeMainTable(st, moveB, 0, 3, node);
    clearMainTable();
    for (int ply : {1, 2}) {
        st.ply = ply;
        EXPECT_FALSE(probe(0, 0, node));
        EXPECT_EQ(hash, 0u);
    }
}

// The previous line is planted in both slots, out of every window, so it gives only moves.
TEST_F(MainTable, RootLineIsPlantedAlongThePositionsOfTheLine) {
    st.position = st.startPosition;
    NodeState at{};
    computeKey(at, st);
    const Move line[] = {moveA, makeMoveWord(85, 65, kindQuiet), moveB, 0};  // 1. e4 e5 2. Nf3
    std::memcpy(&st.previousPv[2], line, sizeof line);
    storeRootLine(st, at);
    EXPECT_EQ(0, std::memcmp(&st.position, &st.startPosition, sizeof(Position)));
    for (int k = 0; k < 3; ++k) {
        if (k > 0) updateKey(at, st, line[k - 1], makeMove(st, line[k - 1]));
        const bool maxNode = k % 2 == 0;
        const MainTableEntry& planted = mainTableEntry(maxNode, at.keyLow);
        EXPECT_EQ(Move{planted.recentSlot.move}, line[k]) << k;
        EXPECT_EQ(planted.deepSlot.score, maxNode ? -32001 : 32001) << k;
        EXPECT_EQ(static_cast<std::uint8_t>(planted.deepSlot.depth), 0x83) << k;
        st.ply = 1 + k;  // the keys and castleEpState match: the move comes back, no cutoff
        EXPECT_FALSE(probe(maxNode ? -32000 : 32000, 0, at)) << k;
        EXPECT_EQ(hash, line[k]) << k;
    }
}

}  // namespace
