// The main table and the score table (mate bound, ply parity, matching, clearing), and the game history's repetition and fifty-move counting.
#include <gtest/gtest.h>

#include <utility>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/main_table.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "test_support.h"

namespace {

constexpr Move moveA = makeMoveWord(35, 55, kindQuiet);  // e2-e4
constexpr Move moveB = makeMoveWord(27, 46, kindQuiet);  // g1-f3

// Slots are packed: a slot's move is copied out (Move{...}) before a comparison takes
// it by reference, as a reference to an unaligned word is undefined.
class Tables : public EngineTest {
protected:
    void SetUp() override {
        clearMainTable();
        clearScoreTable();
        st.ply = 1;  // odd: the engine to move, lower bounds in maxTable
        st.tableAge = 7;
        node.keyLow = 0x1234ABCD, node.keyHigh = 0x0BADF00D, node.castleEpState = 15;
    }
    const MainTableEntry& entry() const { return mainTableEntry(true, node.keyLow); }
    bool probe(int cutoff, int depth, const NodeState& at) { return probeMainTable(st, cutoff, depth, hash, at); }
    bool settled(int initial, int depth, const NodeState& at) { return probeScoreTable(st, initial, depth, at); }
    NodeState node{};
    Move hash = 99;
};

// Which slot a store replaces and which a probe asks first only keep more or less of what
// was found; a wrong score, bound or match makes the search wrong.
// Stores clamp to the mate bound. Odd plies hold lower bounds, even plies upper bounds;
// a slot too shallow or with the wrong bound still gives its move to order the search.
TEST_F(Tables, MainStoreClampsAndPlyParityChoosesTheTableAndTheBound) {
    for (auto [score, stored] : {std::pair{32000, 31000}, {-31998, -31000}, {30999, 30999}}) {
        storeMainTable(st, moveA, score, 4, node);
        EXPECT_EQ(entry().deepSlot.score, stored) << score;
    }
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

// A visit ends when its start is no better for the side to move than a bound stored at
// least as deep; ply parity chooses the table and the direction. Mate-range bounds
// depend on the path length and are never stored.
TEST_F(Tables, ScoreBoundEndsVisitsWhoseStartIsNoBetter) {
    for (int score : {31000, -31000, 31999, -32000}) {
        storeScoreTable(st, score, 4, node);
        EXPECT_FALSE(settled(32000, 0, node)) << score;
    }
    storeScoreTable(st, 40, 4, node);
    EXPECT_TRUE(settled(40, 4, node));
    EXPECT_TRUE(settled(41, 3, node));
    EXPECT_FALSE(settled(39, 4, node));
    EXPECT_FALSE(settled(40, 5, node));
    st.ply = 6;
    EXPECT_FALSE(settled(40, 0, node));
    storeScoreTable(st, -30999, 4, node);
    EXPECT_TRUE(settled(-31000, 4, node));
    EXPECT_FALSE(settled(-30998, 4, node));
}

// Both tables: another position on the same index, or other castling rights or
// en-passant file, never match; clearing empties both tables of both plies.
TEST_F(Tables, OnlyTheSamePositionMatchesAndNothingAfterClearing) {
    storeMainTable(st, moveA, 0, 3, node);
    storeScoreTable(st, 40, 4, node);
    for (auto [high, castleEp] : {std::pair{0x80000000u, 15}, {0u, 0}, {0u, 14}, {0u, 16 * 5 + 15}}) {
        NodeState other = node;
        other.keyHigh ^= high;
        other.castleEpState = static_cast<std::uint8_t>(castleEp);
        EXPECT_FALSE(probe(-100, 0, other)) << castleEp;
        EXPECT_EQ(hash, 0u) << castleEp;
        EXPECT_FALSE(settled(100, 0, other)) << castleEp;
    }
    st.ply = 2;
    storeMainTable(st, moveB, 0, 3, node);
    storeScoreTable(st, 40, 4, node);
    clearMainTable();
    clearScoreTable();
    for (int ply : {1, 2}) {
        st.ply = ply;
        EXPECT_FALSE(probe(ply == 1 ? -100 : 100, 0, node));
        EXPECT_EQ(hash, 0u);
        EXPECT_FALSE(settled(ply == 1 ? 100 : -100, 0, node));
    }
}

// The engine plays Black: after each White move the engine is to move.
class GameHistory : public EngineTest {
protected:
    void SetUp() override {
        st.position = st.startPosition;
        recordGamePosition(st, st.position, st.startMove, false, castlingByte(st.position));
    }
    void play(int from, int to, int kind = kindQuiet) {
        const Move move = makeMoveWord(from, to, kind);
        const int before = castlingByte(st.position);
        engineToMove = !engineToMove;
        makeMove(st, move);
        recordGamePosition(st, st.position, move, engineToMove, before);
    }
    bool repeated(bool engineSide, int count) const {
        const GameHistoryEntry& latest = st.gameHistory[st.historyCount];
        return isRepetition(st, st.position, engineSide, count, latest.keyLow, latest.keyHigh);
    }
    bool engineToMove = false;
};

TEST_F(GameHistory, IrreversibleMovesCutTheHistory) {
    play(35, 55), play(97, 76), play(55, 65);  // 1. e4 Nf6 2. e5
    play(84, 64);  // 2... d5: e5xd6 is possible, so this position is not recorded
    EXPECT_EQ(std::pair(st.historyCount, st.gameReversibleCount), std::pair(0, 0));
    play(22, 43), play(76, 57);  // 3. Nc3 Ng4
    EXPECT_EQ(std::pair(st.historyCount, st.gameReversibleCount), std::pair(2, 2));

    play(43, 64, kindCapture);  // 4. Nxd5: only the position reached stays
    EXPECT_EQ(std::pair(st.historyCount, st.gameReversibleCount), std::pair(1, 0));
    NodeState reached{};
    computeKey(reached, st);
    EXPECT_EQ(std::pair(st.gameHistory[1].keyLow, st.gameHistory[1].engineToMove), std::pair(reached.keyLow, true));

    // 4... Nf6 5. Nc3 Rg8: the lost right empties the history, the count goes on.
    play(57, 76), play(64, 43), play(98, 97);
    EXPECT_EQ(std::pair(st.historyCount, st.gameReversibleCount), std::pair(1, 3));
    EXPECT_EQ(st.gameHistory[1].castleByte, 3 + 4 * 2);
}

// Knights shuffle: the start position recurs every four plies, with the opponent to move.
TEST_F(GameHistory, RepetitionsAndTheFiftyMoveShuffle) {
    const int shuffle[4][2] = {{27, 46}, {97, 76}, {46, 27}, {76, 97}};  // Nf3 Nf6 Ng1 Ng8
    for (int i = 0; i < 8; ++i) play(shuffle[i % 4][0], shuffle[i % 4][1]);
    EXPECT_TRUE(repeated(false, 3));
    EXPECT_FALSE(repeated(false, 4));
    EXPECT_FALSE(repeated(true, 1));
    st.position.whiteCastling = 1;  // the same pieces with other rights are another position
    EXPECT_FALSE(repeated(false, 1));
    st.position.whiteCastling = 3;

    for (int i = 8; i < 100; ++i) play(shuffle[i % 4][0], shuffle[i % 4][1]);
    EXPECT_EQ(std::pair(st.historyCount, st.gameReversibleCount), std::pair(101, 100));
}

}  // namespace
