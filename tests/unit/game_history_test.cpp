#include <gtest/gtest.h>

#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

class GameHistory : public ::testing::Test {
protected:
    void SetUp() override {
        st.position = st.startPosition;
        recordGamePosition(st, st.position, st.startMove, false, castlingByte(st.position));
    }

    // Moves a piece by hand (quiet move or capture) and records the result.
    void play(int from, int to, bool engineToMoveAfter, int kind = kindQuiet) {
        const int before = castlingByte(st.position);
        if (from == 25) st.position.whiteCastling = 0;
        st.position.squares[to] = st.position.squares[from];
        st.position.squares[from] = 0;
        st.position.enPassantPawn = 0;
        recordGamePosition(st, st.position, makeMoveWord(from, to, kind), engineToMoveAfter, before);
    }

    NodeState keyOfBoard() const {
        NodeState node{};
        computeKey(node, st);
        return node;
    }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
};

TEST_F(GameHistory, ANewRecordHoldsTheStartPosition) {
    EXPECT_EQ(st.historyCount, 1);
    EXPECT_EQ(st.gameReversibleCount, 0);
    const NodeState key = keyOfBoard();
    EXPECT_EQ(st.gameHistory[1].keyLow, key.keyLow);
    EXPECT_EQ(st.gameHistory[1].keyHigh, key.keyHigh);
    EXPECT_EQ(st.gameHistory[1].castleByte, 15);
    EXPECT_FALSE(st.gameHistory[1].engineToMove);
}

TEST_F(GameHistory, EnPassantPositionIsNotRecordedButCountersAdvance) {
    play(22, 43, true);  // knight out
    EXPECT_EQ(st.historyCount, 2);
    EXPECT_EQ(st.gameReversibleCount, 1);
    // A double step next to an enemy pawn: the en-passant chance is open.
    st.position.squares[64] = blackPawn;
    st.position.squares[84] = 0;
    st.position.squares[35] = 0;
    st.position.squares[55] = whitePawn;
    st.position.enPassantPawn = 55;
    recordGamePosition(st, st.position, makeMoveWord(35, 55, kindQuiet), false, 15);
    EXPECT_EQ(st.gameReversibleCount, 0);
    EXPECT_EQ(st.historyCount, 0);
    play(92, 73, true);
    EXPECT_EQ(st.gameReversibleCount, 1);
    EXPECT_EQ(st.historyCount, 1);
}

TEST_F(GameHistory, LosingACastlingRightEmptiesTheHistoryButKeepsTheCount) {
    play(22, 43, true);
    play(92, 73, false);
    st.position.squares[26] = 0;
    play(43, 26, true);  // the knight returns over the bishop's square: reversible
    EXPECT_EQ(st.historyCount, 4);
    play(25, 26, false);  // the king steps aside and gives up both rights
    EXPECT_EQ(st.gameReversibleCount, 4);
    EXPECT_EQ(st.historyCount, 1);
    EXPECT_EQ(st.gameHistory[1].castleByte, 12);
}

TEST_F(GameHistory, ACaptureLeavesOneEntry) {
    play(22, 43, true);
    play(92, 73, false);
    EXPECT_EQ(st.historyCount, 3);
    st.position.squares[55] = blackPawn;
    play(43, 55, true, kindCapture);
    EXPECT_EQ(st.historyCount, 1);
    EXPECT_EQ(st.gameReversibleCount, 0);
    const NodeState key = keyOfBoard();
    EXPECT_EQ(st.gameHistory[1].keyLow, key.keyLow);
    EXPECT_TRUE(st.gameHistory[1].engineToMove);
}

TEST_F(GameHistory, RepetitionCountsOnlyEntriesOfTheSameSideAndCastling) {
    const NodeState key = keyOfBoard();
    addHistoryEntry(st, true, key.keyLow, key.keyHigh, 15);
    addHistoryEntry(st, true, key.keyLow, key.keyHigh, 15);
    // Entry 1 was recorded with the opponent to move.
    EXPECT_TRUE(isRepetition(st, st.position, true, 2, key.keyLow, key.keyHigh));
    EXPECT_FALSE(isRepetition(st, st.position, true, 3, key.keyLow, key.keyHigh));
    EXPECT_TRUE(isRepetition(st, st.position, false, 1, key.keyLow, key.keyHigh));
    EXPECT_FALSE(isRepetition(st, st.position, false, 2, key.keyLow, key.keyHigh));
    EXPECT_FALSE(isRepetition(st, st.position, true, 1, key.keyLow ^ 1, key.keyHigh));
    EXPECT_FALSE(isRepetition(st, st.position, true, 1, key.keyLow, key.keyHigh ^ 1));
    Position noCastling = st.position;
    noCastling.whiteCastling = 0;
    EXPECT_FALSE(isRepetition(st, noCastling, true, 1, key.keyLow, key.keyHigh));
}

TEST_F(GameHistory, FiftyMovesFillAtMost101EntriesAndA111thEntryReusesTheOldest) {
    // Knights shuffle for fifty moves a side without repeating a capture or pawn move.
    for (int i = 0; i < 100; ++i) {
        if (i % 4 == 0) play(22, 43, true);
        if (i % 4 == 1) play(92, 73, false);
        if (i % 4 == 2) play(43, 22, true);
        if (i % 4 == 3) play(73, 92, false);
    }
    EXPECT_EQ(st.gameReversibleCount, 100);
    EXPECT_EQ(st.historyCount, 101);

    for (int i = 102; i <= 110; ++i) addHistoryEntry(st, true, static_cast<std::uint32_t>(i), 0, 15);
    EXPECT_EQ(st.historyCount, 110);
    addHistoryEntry(st, false, 111, 7, 3);
    EXPECT_EQ(st.historyCount, 110);
    EXPECT_EQ(st.gameHistory[1].keyLow, 110u);  // the newest before, copied over the oldest
    EXPECT_TRUE(st.gameHistory[1].engineToMove);
    EXPECT_EQ(st.gameHistory[110].keyLow, 111u);
    EXPECT_EQ(st.gameHistory[110].keyHigh, 7u);
    EXPECT_EQ(st.gameHistory[110].castleByte, 3);
    EXPECT_FALSE(st.gameHistory[110].engineToMove);
}

}  // namespace
