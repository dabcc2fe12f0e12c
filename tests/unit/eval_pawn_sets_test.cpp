#include "eval_test_support.h"

namespace {

class PawnSets : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    Position& p = st.position;

    NodeState fromScratch() {
        NodeState n{};
        initPawnSets(n, st);
        return n;
    }
    void expectSameSets(const NodeState& a, const NodeState& b) {
        EXPECT_EQ(a.whitePawnSet, b.whitePawnSet);
        EXPECT_EQ(a.blackPawnSet, b.blackPawnSet);
        EXPECT_EQ(a.whitePawnsOnDark, b.whitePawnsOnDark);
        EXPECT_EQ(a.whitePawnsOnLight, b.whitePawnsOnLight);
        EXPECT_EQ(a.blackPawnsOnDark, b.blackPawnsOnDark);
        EXPECT_EQ(a.blackPawnsOnLight, b.blackPawnsOnLight);
    }
    std::uint64_t bits(std::initializer_list<int> squares) {
        std::uint64_t set = 0;
        for (int s : squares) set |= st.squareBit[s];
        return set;
    }
};

TEST_F(PawnSets, StartPosition) {
    p = st.startPosition;
    const NodeState n = fromScratch();
    EXPECT_EQ(n.whitePawnSet, bits({31, 32, 33, 34, 35, 36, 37, 38}));
    EXPECT_EQ(n.blackPawnSet, bits({81, 82, 83, 84, 85, 86, 87, 88}));
    EXPECT_EQ(n.whitePawnsOnDark, 4);
    EXPECT_EQ(n.whitePawnsOnLight, 4);
    EXPECT_EQ(n.blackPawnsOnDark, 4);
    EXPECT_EQ(n.blackPawnsOnLight, 4);
}

TEST_F(PawnSets, DoubleStepKeepsTheColourSingleStepChangesIt) {
    p = st.startPosition;
    NodeState n = fromScratch();
    p.squares[35] = emptySquare;
    p.squares[55] = whitePawn;
    updatePawnSets(n, st, makeMoveWord(35, 55, kindQuiet), emptySquare);
    EXPECT_EQ(n.whitePawnSet & bits({35, 55}), bits({55}));
    EXPECT_EQ(n.whitePawnsOnDark, 4);
    EXPECT_EQ(n.whitePawnsOnLight, 4);
    expectSameSets(n, fromScratch());
    p.squares[84] = emptySquare;
    p.squares[74] = blackPawn;
    updatePawnSets(n, st, makeMoveWord(84, 74, kindQuiet), emptySquare);
    EXPECT_EQ(n.blackPawnsOnDark, 5);
    EXPECT_EQ(n.blackPawnsOnLight, 3);
    expectSameSets(n, fromScratch());
}

TEST_F(PawnSets, EnPassantRemovesThePawnBesideBothWays) {
    setBoard(st, "4k3/8/8/3pP3/5Pp1/8/8/4K3 w - d6 0 1");
    NodeState n = fromScratch();
    p.squares[65] = p.squares[64] = emptySquare;
    p.squares[74] = whitePawn;
    updatePawnSets(n, st, makeMoveWord(65, 74, kindEnPassant), blackPawn);
    EXPECT_FALSE(n.blackPawnSet & st.squareBit[64]);
    expectSameSets(n, fromScratch());
    p.squares[57] = p.squares[56] = emptySquare;
    p.squares[46] = blackPawn;
    updatePawnSets(n, st, makeMoveWord(57, 46, kindEnPassant), whitePawn);
    EXPECT_EQ(n.whitePawnSet, bits({74}));
    expectSameSets(n, fromScratch());
}

TEST_F(PawnSets, PromotionsLeaveTheSetsAndCapturesTakeFromTheOther) {
    setBoard(st, "1n2k3/P7/8/8/8/8/1p4p1/4K2R w - - 0 1");
    NodeState n = fromScratch();
    p.squares[81] = emptySquare;
    p.squares[92] = whiteQueen;
    updatePawnSets(n, st, makeMoveWord(81, 92, kindCapture, whiteQueen), blackKnight);
    EXPECT_EQ(n.whitePawnSet, 0u);
    EXPECT_EQ(n.whitePawnsOnDark + n.whitePawnsOnLight, 0);
    expectSameSets(n, fromScratch());
    p.squares[37] = emptySquare;
    p.squares[28] = blackRook;
    updatePawnSets(n, st, makeMoveWord(37, 28, kindCapture, blackRook), whiteRook);
    EXPECT_EQ(n.blackPawnSet, bits({32}));
    expectSameSets(n, fromScratch());
    // A piece taking a pawn.
    p.squares[25] = emptySquare;
    p.squares[32] = whiteKing;
    updatePawnSets(n, st, makeMoveWord(25, 32, kindCapture), blackPawn);
    EXPECT_EQ(n.blackPawnSet, 0u);
    expectSameSets(n, fromScratch());
}

}  // namespace
