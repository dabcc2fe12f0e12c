#include "eval_test_support.h"

namespace {

class Positional : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    Position& p = st.position;

    // Moves a piece by hand (no capture bookkeeping needed for the delta).
    void shift(int from, int to, int piece) {
        p.squares[from] = emptySquare;
        p.squares[to] = static_cast<std::uint8_t>(piece);
    }
};

TEST_F(Positional, StartPositionBeforeAndAfterRootPreparation) {
    p = st.startPosition;
    EXPECT_EQ(sumPositional(st), 10);
    prepareRootTables(st);
    EXPECT_EQ(sumPositional(st), -20);
    EXPECT_TRUE(st.whiteEarlyQueen);
    EXPECT_TRUE(st.blackEarlyQueen);
}

TEST_F(Positional, RepeatedRootPreparationDoesNotAccumulate) {
    p = st.startPosition;
    for (int i = 0; i < 3; ++i) prepareRootTables(st);
    EXPECT_EQ(sumPositional(st), -20);
    EXPECT_EQ(st.pieceSquare[whiteQueen][24], 30);
    EXPECT_EQ(st.pieceSquare[blackQueen][94], -20);
    EXPECT_EQ(st.pieceSquare[whiteKnight][27], -27);
    EXPECT_EQ(st.pieceSquare[whiteBishop][26], -18);
}

TEST_F(Positional, RootTablesFollowDevelopmentAndCastlingRights) {
    // White has developed three minors and lost the king-side right: no early-queen bonus and
    // no nudge for the g1 knight and f1 bishop; Black still holds both rights.
    setBoard(st, "rnbqkbnr/pppppppp/8/8/8/2NBBN2/PPPPPPPP/R2QK2R w Qkq - 0 1");
    prepareRootTables(st);
    EXPECT_FALSE(st.whiteEarlyQueen);
    EXPECT_TRUE(st.blackEarlyQueen);
    EXPECT_EQ(st.pieceSquare[whiteQueen][24], st.homeBonus[0]);
    EXPECT_EQ(st.pieceSquare[blackQueen][94], st.homeBonus[1] - 10);
    EXPECT_EQ(st.pieceSquare[whiteKnight][27], st.homeBonus[2]);
    EXPECT_EQ(st.pieceSquare[whiteBishop][26], st.homeBonus[3]);
    // Two developed minors keep the early-queen bonus while a right is lost.
    setBoard(st, "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RN1QKB1R w kq - 0 1");
    prepareRootTables(st);
    EXPECT_TRUE(st.whiteEarlyQueen);
    EXPECT_EQ(st.pieceSquare[whiteQueen][24], st.homeBonus[0] + 10);
}

TEST_F(Positional, PawnDoubleStepFromTheStart) {
    p = st.startPosition;
    prepareRootTables(st);
    const int before = sumPositional(st);
    shift(35, 55, whitePawn);
    const Move e2e4 = makeMoveWord(35, 55, kindQuiet);
    EXPECT_EQ(positionalDelta(st, e2e4, emptySquare), 14);
    EXPECT_EQ(sumPositional(st), before + 14);
}

TEST_F(Positional, CastlingAddsTheRookMoveAndABonus) {
    setBoard(st, "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
    prepareRootTables(st);
    const int before = sumPositional(st);
    // King side: the king's word only; the rook stands on f1 afterwards.
    shift(25, 27, whiteKing);
    shift(28, 26, whiteRook);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(25, 27, kindCastling), emptySquare), 30);
    EXPECT_EQ(sumPositional(st), before);  // the bonus lives only below the root
    // Queen side for White and both sides for Black, rook deltas all 0 here.
    EXPECT_EQ(positionalDelta(st, makeMoveWord(25, 23, kindCastling), emptySquare), 5);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(95, 97, kindCastling), emptySquare), -30);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(95, 93, kindCastling), emptySquare), -5);
}

TEST_F(Positional, CapturesPromotionsAndEnPassant) {
    setBoard(st, "1r2k3/P7/8/3pP3/8/8/8/4K3 w - d6 0 1");
    prepareRootTables(st);
    int sum = sumPositional(st);
    // e5xd6 en passant: the d5 pawn leaves as well.
    shift(65, 74, whitePawn);
    p.squares[64] = emptySquare;
    int delta = positionalDelta(st, makeMoveWord(65, 74, kindEnPassant), blackPawn);
    EXPECT_EQ(delta, st.pieceSquare[whitePawn][74] - st.pieceSquare[whitePawn][65] - st.pieceSquare[blackPawn][64]);
    EXPECT_EQ(sumPositional(st), sum + delta);
    sum += delta;
    // a7xb8 = knight: the knight's value on b8 against the pawn's on a7, minus the rook's.
    shift(81, 92, whiteKnight);
    delta = positionalDelta(st, makeMoveWord(81, 92, kindCapture, whiteKnight), blackRook);
    EXPECT_EQ(delta, st.pieceSquare[whiteKnight][92] - st.pieceSquare[whitePawn][81] - st.pieceSquare[blackRook][92]);
    EXPECT_EQ(sumPositional(st), sum + delta);
    // Kings and the null move change nothing.
    shift(25, 35, whiteKing);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(25, 35, kindQuiet), emptySquare), 0);
    EXPECT_EQ(positionalDelta(st, nullMove, emptySquare), 0);
}

}  // namespace
