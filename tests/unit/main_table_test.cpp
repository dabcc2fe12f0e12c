#include <gtest/gtest.h>

#include "tamblorhash/main_table.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

constexpr Move moveA = makeMoveWord(35, 55, kindQuiet);
constexpr Move moveB = makeMoveWord(27, 46, kindQuiet);
constexpr Move moveC = makeMoveWord(22, 43, kindQuiet);

class MainTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearMainTable();
        st.ply = 1;
        st.tableAge = 7;
        node.keyLow = 0x1234ABCD;
        node.keyHigh = 0x0BADF00D;
        node.castleEpState = 15;
    }

    const MainTableEntry& entry(bool maxTable) const { return mainTableEntry(maxTable, node.keyLow); }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    NodeState node{};
};

TEST_F(MainTable, OccupiesTheSizeOfTwoMillionTwoSlotEntries) {
    EXPECT_EQ(mainTableBytes(), 71303168u);
}

TEST_F(MainTable, ScoresAreClampedToTheMateBound) {
    storeMainTable(st, moveA, 32000, 4, node);
    EXPECT_EQ(entry(true).recentSlot.score, 31000);
    EXPECT_EQ(entry(true).deepSlot.score, 31000);
    storeMainTable(st, moveA, -31998, 4, node);
    EXPECT_EQ(entry(true).recentSlot.score, -31000);
    storeMainTable(st, moveA, 30999, 4, node);
    EXPECT_EQ(entry(true).recentSlot.score, 30999);
}

TEST_F(MainTable, StoreWritesEveryFieldOfTheSlot) {
    st.ply = 4;
    storeMainTable(st, moveA, -250, 6, node);
    const MainTableSlot slot = entry(false).recentSlot;
    EXPECT_EQ(slot.move, moveA);
    EXPECT_EQ(slot.keyLow, node.keyLow);
    EXPECT_EQ(slot.keyHigh, node.keyHigh);
    EXPECT_EQ(slot.score, -250);
    EXPECT_EQ(slot.depth, 6);
    EXPECT_EQ(slot.castleEpState, 15);
    EXPECT_EQ(slot.age, 7);
    EXPECT_EQ(entry(false).deepSlot.move, moveA);  // the deep slot was empty
    EXPECT_EQ(entry(true).recentSlot.move, 0u);    // an even ply never writes maxTable
}

TEST_F(MainTable, ShallowerStoreOfTheSameAgeKeepsTheDeepSlot) {
    storeMainTable(st, moveA, 100, 5, node);
    storeMainTable(st, moveB, 50, 3, node);
    EXPECT_EQ(entry(true).deepSlot.move, moveA);
    EXPECT_EQ(entry(true).deepSlot.depth, 5);
    EXPECT_EQ(entry(true).deepSlot.score, 100);
    EXPECT_EQ(entry(true).recentSlot.move, moveB);
    EXPECT_EQ(entry(true).recentSlot.depth, 3);

    // As deep as the deep slot: replaces it.
    storeMainTable(st, moveC, 20, 5, node);
    EXPECT_EQ(entry(true).deepSlot.move, moveC);
    EXPECT_EQ(entry(true).recentSlot.move, moveC);
}

TEST_F(MainTable, ShallowerStoreOfAnotherAgeReplacesBothSlots) {
    storeMainTable(st, moveA, 100, 5, node);
    st.tableAge = 8;
    storeMainTable(st, moveB, 50, 3, node);
    EXPECT_EQ(entry(true).deepSlot.move, moveB);
    EXPECT_EQ(entry(true).deepSlot.depth, 3);
    EXPECT_EQ(entry(true).deepSlot.age, 8);
    EXPECT_EQ(entry(true).recentSlot.move, moveB);
}

TEST_F(MainTable, LowerBoundsAtOddPliesProveCutoffsAtOrBelowThem) {
    storeMainTable(st, moveA, 120, 4, node);
    Move hash = 99;
    EXPECT_TRUE(probeMainTable(st, 120, 4, hash, node));
    EXPECT_EQ(hash, moveA);
    EXPECT_TRUE(probeMainTable(st, -500, 2, hash, node));
    EXPECT_FALSE(probeMainTable(st, 121, 4, hash, node));
    EXPECT_EQ(hash, moveA);  // no cutoff, but the move still orders the search
    EXPECT_FALSE(probeMainTable(st, 100, 5, hash, node));
    EXPECT_EQ(hash, moveA);
}

TEST_F(MainTable, UpperBoundsAtEvenPliesProveCutoffsAtOrAboveThem) {
    st.ply = 2;
    storeMainTable(st, moveA, 120, 4, node);
    Move hash = 0;
    EXPECT_TRUE(probeMainTable(st, 120, 4, hash, node));
    EXPECT_TRUE(probeMainTable(st, 500, 3, hash, node));
    EXPECT_FALSE(probeMainTable(st, 119, 4, hash, node));
    EXPECT_EQ(hash, moveA);
}

TEST_F(MainTable, PlyParityChoosesTheTable) {
    st.ply = 3;
    storeMainTable(st, moveA, 0, 2, node);
    Move hash = 99;
    st.ply = 2;
    EXPECT_FALSE(probeMainTable(st, -100, 0, hash, node));
    EXPECT_EQ(hash, 0u);
    st.ply = 5;
    EXPECT_TRUE(probeMainTable(st, -100, 0, hash, node));
    EXPECT_EQ(hash, moveA);
}

TEST_F(MainTable, RecentSlotProvesWhatTheDeepSlotCannot) {
    storeMainTable(st, moveA, 10, 6, node);   // deep: too low a bound
    storeMainTable(st, moveB, 300, 2, node);  // recent: high enough, shallower
    Move hash = 0;
    EXPECT_TRUE(probeMainTable(st, 200, 2, hash, node));
    EXPECT_EQ(hash, moveB);
    // Neither proves it: the deep slot's move stays the hash move.
    EXPECT_FALSE(probeMainTable(st, 200, 3, hash, node));
    EXPECT_EQ(hash, moveA);
}

TEST_F(MainTable, RecentSlotGivesItsMoveWhenTheDeepSlotHoldsAnotherPosition) {
    NodeState other = node;
    other.keyHigh ^= 1;  // same index, other position
    storeMainTable(st, moveA, 10, 6, other);
    storeMainTable(st, moveB, 10, 2, node);
    ASSERT_EQ(entry(true).deepSlot.move, moveA);
    Move hash = 0;
    EXPECT_FALSE(probeMainTable(st, 200, 1, hash, node));
    EXPECT_EQ(hash, moveB);
    EXPECT_FALSE(probeMainTable(st, 200, 1, hash, other));
    EXPECT_EQ(hash, moveA);
}

TEST_F(MainTable, CastlingOrEnPassantDifferencesNeverMatch) {
    storeMainTable(st, moveA, 0, 3, node);
    for (int other : {0, 3, 11, 14, 16 * 5 + 15}) {
        NodeState changed = node;
        changed.castleEpState = static_cast<std::uint8_t>(other);
        Move hash = 99;
        EXPECT_FALSE(probeMainTable(st, -100, 0, hash, changed)) << other;
        EXPECT_EQ(hash, 0u) << other;
    }
}

TEST_F(MainTable, NothingIsFoundAfterClearing) {
    storeMainTable(st, moveA, 0, 3, node);
    st.ply = 2;
    storeMainTable(st, moveB, 0, 3, node);
    clearMainTable();
    for (int ply : {1, 2}) {
        st.ply = ply;
        Move hash = 99;
        EXPECT_FALSE(probeMainTable(st, 0, 0, hash, node));
        EXPECT_EQ(hash, 0u);
    }
    EXPECT_EQ(entry(true).deepSlot.move, 0u);
    EXPECT_EQ(entry(true).deepSlot.age, 0);
    EXPECT_EQ(entry(false).recentSlot.move, 0u);
}

}  // namespace
