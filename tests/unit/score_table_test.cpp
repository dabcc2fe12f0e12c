#include <gtest/gtest.h>

#include "tamblorlowhash/score_table.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "test_support.h"

namespace {

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearScoreTable();
        st.ply = 3;
        st.tableAge = 2;
        node.keyLow = 0x00C0FFEE;
        node.keyHigh = 0xFEEDBEEF;
        node.castleEpState = 3;
    }

    const ScoreTableEntry& entry(bool oddPly) const { return scoreTableEntry(oddPly, node.keyLow); }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    NodeState node{};
};

TEST_F(ScoreTable, OccupiesTheSizeOfOneMillionTwoSlotEntries) {
    EXPECT_EQ(scoreTableBytes(), 29360128u);
}

TEST_F(ScoreTable, MateRangeBoundsAreNeverStored) {
    for (int score : {31000, -31000, 31999, -32000}) {
        storeScoreTable(st, score, 4, node);
        EXPECT_EQ(entry(true).recentSlot.used, 0) << score;
        EXPECT_FALSE(probeScoreTable(st, 32000, 0, node)) << score;
    }
    storeScoreTable(st, -30999, 4, node);
    EXPECT_EQ(entry(true).recentSlot.used, 1);
    EXPECT_EQ(entry(true).recentSlot.score, -30999);
}

TEST_F(ScoreTable, MaxNodeBoundEndsVisitsWhoseStartIsNoBetter) {
    storeScoreTable(st, 40, 4, node);
    EXPECT_TRUE(probeScoreTable(st, 40, 4, node));
    EXPECT_TRUE(probeScoreTable(st, 41, 3, node));
    EXPECT_FALSE(probeScoreTable(st, 39, 4, node));
    EXPECT_FALSE(probeScoreTable(st, 40, 5, node));
}

TEST_F(ScoreTable, MinNodeBoundEndsVisitsWhoseStartIsNoBetter) {
    st.ply = 4;
    storeScoreTable(st, 40, 4, node);
    EXPECT_TRUE(probeScoreTable(st, 40, 4, node));
    EXPECT_TRUE(probeScoreTable(st, 39, 1, node));
    EXPECT_FALSE(probeScoreTable(st, 41, 4, node));
}

TEST_F(ScoreTable, PlyParityChoosesTheTable) {
    storeScoreTable(st, 40, 4, node);
    st.ply = 6;
    EXPECT_FALSE(probeScoreTable(st, 40, 0, node));
    st.ply = 9;
    EXPECT_TRUE(probeScoreTable(st, 40, 0, node));
    EXPECT_EQ(entry(false).recentSlot.used, 0);
}

TEST_F(ScoreTable, ShallowerStoreOfTheSameAgeKeepsTheDeepSlot) {
    storeScoreTable(st, 40, 6, node);
    storeScoreTable(st, 10, 2, node);
    EXPECT_EQ(entry(true).deepSlot.score, 40);
    EXPECT_EQ(entry(true).deepSlot.depth, 6);
    EXPECT_EQ(entry(true).recentSlot.score, 10);
    // The recent slot answers where the deep one cannot.
    EXPECT_TRUE(probeScoreTable(st, 20, 2, node));
    EXPECT_FALSE(probeScoreTable(st, 20, 3, node));
    EXPECT_FALSE(probeScoreTable(st, 9, 1, node));
    EXPECT_TRUE(probeScoreTable(st, 45, 6, node));

    st.tableAge = 3;
    storeScoreTable(st, 90, 2, node);
    EXPECT_EQ(entry(true).deepSlot.depth, 2);
    EXPECT_EQ(entry(true).deepSlot.age, 3);
}

TEST_F(ScoreTable, OnlyTheSamePositionMatches) {
    storeScoreTable(st, 40, 4, node);
    NodeState other = node;
    other.castleEpState = 16 * 3 + 3;
    EXPECT_FALSE(probeScoreTable(st, 100, 0, other));
    other = node;
    other.keyHigh ^= 0x80000000u;
    EXPECT_FALSE(probeScoreTable(st, 100, 0, other));
}

TEST_F(ScoreTable, NothingIsFoundAfterClearing) {
    storeScoreTable(st, 40, 4, node);
    st.ply = 2;
    storeScoreTable(st, 40, 4, node);
    clearScoreTable();
    EXPECT_FALSE(probeScoreTable(st, -100, 0, node));
    st.ply = 1;
    EXPECT_FALSE(probeScoreTable(st, 100, 0, node));
    EXPECT_EQ(entry(true).deepSlot.used, 0);
    EXPECT_EQ(entry(false).recentSlot.age, 0);
}

}  // namespace
