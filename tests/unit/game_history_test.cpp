#include <gtest/gtest.h>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

// The engine plays Black: after each White move the engine is to move.
class GameHistory : public ::testing::Test {
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

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    bool engineToMove = false;
};

TEST_F(GameHistory, IrreversibleMovesCutTheHistory) {
    play(35, 55), play(97, 76), play(55, 65);  // 1. e4 Nf6 2. e5
    play(84, 64);  // 2... d5: e5xd6 is possible, so this position is not recorded
    EXPECT_EQ(st.historyCount, 0);
    EXPECT_EQ(st.gameReversibleCount, 0);
    play(22, 43), play(76, 57);  // 3. Nc3 Ng4
    EXPECT_EQ(st.historyCount, 2);
    EXPECT_EQ(st.gameReversibleCount, 2);

    play(43, 64, kindCapture);  // 4. Nxd5: only the position reached stays
    EXPECT_EQ(st.historyCount, 1);
    EXPECT_EQ(st.gameReversibleCount, 0);
    NodeState reached{};
    computeKey(reached, st);
    EXPECT_EQ(st.gameHistory[1].keyLow, reached.keyLow);
    EXPECT_TRUE(st.gameHistory[1].engineToMove);

    // 4... Nf6 5. Nc3 Rg8: the lost right empties the history, the count goes on.
    play(57, 76), play(64, 43), play(98, 97);
    EXPECT_EQ(st.historyCount, 1);
    EXPECT_EQ(st.gameReversibleCount, 3);
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
    EXPECT_EQ(st.gameReversibleCount, 100);
    EXPECT_EQ(st.historyCount, 101);
    // Never reached in a game: beyond 110 entries the newest is copied over the oldest.
    for (int i = 102; i <= 110; ++i) addHistoryEntry(st, true, static_cast<std::uint32_t>(i), 0, 15);
    EXPECT_EQ(st.historyCount, 110);
    addHistoryEntry(st, false, 111, 7, 3);
    EXPECT_EQ(st.historyCount, 110);
    EXPECT_EQ(st.gameHistory[1].keyLow, 110u);
    EXPECT_TRUE(st.gameHistory[1].engineToMove);
    EXPECT_EQ(st.gameHistory[110].keyLow, 111u);
    EXPECT_FALSE(st.gameHistory[110].engineToMove);
}

}  // namespace
