#include "eval_test_support.h"

namespace {

class Material : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    NodeState fromScratch() {
        NodeState n{};
        initMaterial(n, st);
        return n;
    }
    static void expectSameMaterial(const NodeState& a, const NodeState& b) {
        EXPECT_EQ(a.whiteMaterial, b.whiteMaterial);
        EXPECT_EQ(a.blackMaterial, b.blackMaterial);
        EXPECT_EQ(a.whitePawnMaterial, b.whitePawnMaterial);
        EXPECT_EQ(a.blackPawnMaterial, b.blackPawnMaterial);
        EXPECT_EQ(a.whitePieceMaterial, b.whitePieceMaterial);
        EXPECT_EQ(a.blackPieceMaterial, b.blackPieceMaterial);
        EXPECT_EQ(a.minorBalance, b.minorBalance);
        EXPECT_EQ(a.rookBalance, b.rookBalance);
        EXPECT_EQ(a.whiteQueenCount, b.whiteQueenCount);
        EXPECT_EQ(a.blackQueenCount, b.blackQueenCount);
        EXPECT_EQ(a.whiteBishopsOnDark, b.whiteBishopsOnDark);
        EXPECT_EQ(a.whiteBishopsOnLight, b.whiteBishopsOnLight);
        EXPECT_EQ(a.blackBishopsOnDark, b.blackBishopsOnDark);
        EXPECT_EQ(a.blackBishopsOnLight, b.blackBishopsOnLight);
    }
};

TEST_F(Material, StartPositionCountsBothSidesAlike) {
    st.position = st.startPosition;
    const NodeState n = fromScratch();
    EXPECT_EQ(n.whiteMaterial, 3895);
    EXPECT_EQ(n.blackMaterial, 3895);
    EXPECT_EQ(n.whitePawnMaterial, 760);
    EXPECT_EQ(n.whitePieceMaterial, 3135);
    EXPECT_EQ(n.blackPieceMaterial, 3135);
    EXPECT_EQ(n.minorBalance, 0);
    EXPECT_EQ(n.rookBalance, 0);
    EXPECT_EQ(n.whiteQueenCount, 1);
    EXPECT_EQ(n.blackQueenCount, 1);
    EXPECT_EQ(n.whiteBishopsOnDark, 1);
    EXPECT_EQ(n.whiteBishopsOnLight, 1);
    EXPECT_EQ(n.blackBishopsOnDark, 1);
    EXPECT_EQ(n.blackBishopsOnLight, 1);
}

TEST_F(Material, ClearsWhatAnEarlierPositionLeft) {
    NodeState n{};
    n.whiteMaterial = n.rookBalance = n.whiteQueenCount = 77;
    n.blackBishopsOnDark = 3;
    st.position = st.emptyBoard;
    initMaterial(n, st);
    expectSameMaterial(n, NodeState{});
}

TEST_F(Material, PromotionTakingARook) {
    setBoard(st, "6r1/5P2/8/8/8/8/8/K6k w - - 0 1");
    NodeState n = fromScratch();
    const NodeState before = n;
    const Move move = makeMoveWord(86, 97, kindCapture, whiteQueen);
    st.position.squares[86] = emptySquare;
    st.position.squares[97] = whiteQueen;
    updateMaterial(n, st, move, blackRook);
    EXPECT_EQ(n.whiteMaterial - before.whiteMaterial, 830);
    EXPECT_EQ(n.whitePieceMaterial - before.whitePieceMaterial, 925);
    EXPECT_EQ(n.whitePawnMaterial - before.whitePawnMaterial, -95);
    EXPECT_EQ(n.whiteQueenCount, 1);
    EXPECT_EQ(n.blackMaterial - before.blackMaterial, -490);
    EXPECT_EQ(n.blackPieceMaterial - before.blackPieceMaterial, -490);
    EXPECT_EQ(n.rookBalance - before.rookBalance, 1);
    expectSameMaterial(n, fromScratch());
}

TEST_F(Material, BishopsCountByTheColourOfTheirSquare) {
    // Black's bishop on b2 (dark) is taken, then White promotes to a bishop on h8 (dark).
    setBoard(st, "8/7P/8/8/8/8/1b6/N3K2k w - - 0 1");
    NodeState n = fromScratch();
    EXPECT_EQ(n.blackBishopsOnDark, 1);
    st.position.squares[21] = emptySquare;
    st.position.squares[32] = whiteKnight;  // stands in for a capture on b2
    updateMaterial(n, st, makeMoveWord(21, 32, kindCapture), blackBishop);
    EXPECT_EQ(n.blackBishopsOnDark, 0);
    EXPECT_EQ(n.minorBalance, 1);
    expectSameMaterial(n, fromScratch());

    st.position.squares[88] = emptySquare;
    st.position.squares[98] = whiteBishop;
    updateMaterial(n, st, makeMoveWord(88, 98, kindQuiet, whiteBishop), emptySquare);
    EXPECT_EQ(n.whiteBishopsOnDark, 1);
    EXPECT_EQ(n.whiteBishopsOnLight, 0);
    EXPECT_EQ(n.minorBalance, 2);
    expectSameMaterial(n, fromScratch());
}

TEST_F(Material, BlackUnderPromotionAndEnPassant) {
    setBoard(st, "4k3/8/8/8/3pP3/8/1p6/4K3 w - - 0 1");
    NodeState n = fromScratch();
    // Black takes e4 en passant: the captured pawn is not on the to-square.
    st.position.squares[54] = emptySquare;
    st.position.squares[55] = emptySquare;
    st.position.squares[45] = blackPawn;
    updateMaterial(n, st, makeMoveWord(54, 45, kindEnPassant), whitePawn);
    EXPECT_EQ(n.whitePawnMaterial, 0);
    expectSameMaterial(n, fromScratch());
    // b2-b1 knight.
    st.position.squares[32] = emptySquare;
    st.position.squares[22] = blackKnight;
    updateMaterial(n, st, makeMoveWord(32, 22, kindQuiet, blackKnight), emptySquare);
    EXPECT_EQ(n.minorBalance, -1);
    EXPECT_EQ(n.blackPieceMaterial, 305);
    expectSameMaterial(n, fromScratch());
}

}  // namespace
