// The result lines after the engine's move: every claim the GUI would reject is held back.
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

class ResultClaims : public EngineTest {
protected:
    // The position after the engine's move: the opponent is to move. The search's
    // verdict: no expected reply and a draw score.
    void after(const char* fen) {
        ASSERT_TRUE(parsePositionText(true, fen, st)) << fen;
        recordGamePosition(st, st.position, st.startMove, false, castlingByte(st.position));
        st.pv[2] = nullMove;
        st.bestScore = 0;
    }
};

// Mates after the engine's move are claimed end to end in tests/blackbox/thinking_test.cpp.
TEST_F(ResultClaims, StalemateAlwaysAndADrawScoreOnlyWhenARuleHolds) {
    after("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(resultAfterEngineMove(st, true), "1/2-1/2 {Stalemate}");  // even after a book move

    const char* fen = "7k/8/8/8/8/8/8/QR4K1 b - - 0 1";
    after(fen);
    EXPECT_EQ(resultAfterEngineMove(st, false), "");  // the opponent can move: no stalemate

    after(fen);
    st.gameReversibleCount = 100;
    EXPECT_EQ(resultAfterEngineMove(st, false), "1/2-1/2 {Draw by 50 moves rule}");
    EXPECT_EQ(resultAfterEngineMove(st, true), "");  // never after a book move
    st.pv[2] = makeMoveWord(98, 97, kindQuiet);
    EXPECT_EQ(resultAfterEngineMove(st, false), "");  // the search expects the game to go on

    after(fen);
    for (int seen = 2; seen <= 3; ++seen) {
        addHistoryEntry(st, false, st.gameHistory[1].keyLow, st.gameHistory[1].keyHigh, 0);
        EXPECT_EQ(resultAfterEngineMove(st, false), seen == 3 ? "1/2-1/2 {Draw by repetition}" : "") << seen;
    }
}

}  // namespace
