#include <gtest/gtest.h>

#include "tamblorlowhash/tamblorlowhash.h"
#include "test_support.h"

namespace {

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearScoreTable();
        st.ply = 3;  // odd: a max node, whose start is an upper bound
        st.tableAge = 2;
        node.keyLow = 0x00C0FFEE, node.keyHigh = 0xFEEDBEEF, node.castleEpState = 3;
    }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    NodeState node{};
};

// A visit ends when its start is no better for the side to move than a bound stored at
// least as deep; ply parity chooses the table and the direction. Mate-range bounds
// depend on the path length and are never stored.
TEST_F(ScoreTable, StoredBoundEndsVisitsWhoseStartIsNoBetter) {
    for (int score : {31000, -31000, 31999, -32000}) {
        storeScoreTable(st, score, 4, node);
        EXPECT_FALSE(probeScoreTable(st, 32000, 0, node)) << score;
    }
    storeScoreTable(st, 40, 4, node);
    EXPECT_TRUE(probeScoreTable(st, 40, 4, node));
    EXPECT_TRUE(probeScoreTable(st, 41, 3, node));
    EXPECT_FALSE(probeScoreTable(st, 39, 4, node));
    EXPECT_FALSE(probeScoreTable(st, 40, 5, node));
    st.ply = 6;
    EXPECT_FALSE(probeScoreTable(st, 40, 0, node));
    storeScoreTable(st, -30999, 4, node);
    EXPECT_TRUE(probeScoreTable(st, -31000, 4, node));
    EXPECT_FALSE(probeScoreTable(st, -30998, 4, node));
}

TEST_F(ScoreTable, ShallowerStoreOfTheSameAgeKeepsTheDeepSlot) {
    storeScoreTable(st, 40, 6, node);
    storeScoreTable(st, 10, 2, node);
    EXPECT_TRUE(probeScoreTable(st, 45, 6, node));  // deep slot
    EXPECT_TRUE(probeScoreTable(st, 20, 2, node));  // recent slot
    st.tableAge = 3;
    storeScoreTable(st, 90, 2, node);
    EXPECT_FALSE(probeScoreTable(st, 45, 6, node));  // another age replaced it
}

TEST_F(ScoreTable, OnlyTheSamePositionMatchesAndNothingAfterClearing) {
    storeScoreTable(st, 40, 4, node);
    NodeState other = node;
    other.keyHigh ^= 0x80000000u;  // same index, another position
    EXPECT_FALSE(probeScoreTable(st, 100, 0, other));
    other = node;
    other.castleEpState = 16 * 3 + 3;
    EXPECT_FALSE(probeScoreTable(st, 100, 0, other));
    st.ply = 2;
    storeScoreTable(st, 40, 4, node);
    clearScoreTable();
    EXPECT_FALSE(probeScoreTable(st, -100, 0, node));
    st.ply = 1;
    EXPECT_FALSE(probeScoreTable(st, 100, 0, node));
}

}  // namespace
