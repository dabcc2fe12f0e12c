// Combining the terms: the material-balance corrections and the ending scales.
#include "eval_test_support.h"

namespace {

class EndingScale : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    NodeState rootOf(const std::string& fen) {
        setBoard(st, fen);
        return evaluateAtRoot(st);
    }
    // The score before any ending rule: the sum of the terms and the balance corrections.
    static int unscaled(const NodeState& n) { return termSum(n) + rookVersusMinors(n) + bishopVersusKnight(n); }

    void expectDividedBy32(const std::string& fen) {
        const NodeState n = rootOf(fen);
        ASSERT_GT(std::abs(unscaled(n)), 64) << fen;
        EXPECT_EQ(n.score, unscaled(n) / 32) << fen;
    }
    // Not scaled: only the lone-king bonus for a lead above 100 may apply.
    void expectWhiteLeadKept(const std::string& fen) {
        const NodeState n = rootOf(fen);
        const int lead = unscaled(n);
        ASSERT_GT(lead, 100) << fen;
        EXPECT_EQ(n.score, lead + std::min(2 * lead, 350)) << fen;
    }
};

TEST_F(EndingScale, KnightAndBishopAgainstALoneKing) {
    expectDividedBy32("8/8/8/4k3/8/8/8/2B1KN2 w - - 0 1");
    // Black's knight and bishop are left as they are.
    const NodeState n = rootOf("2b1kn2/8/8/8/4K3/8/8/8 w - - 0 1");
    ASSERT_LT(unscaled(n), 0);
    EXPECT_EQ(n.score, unscaled(n));
}

TEST_F(EndingScale, RookAgainstAMinorPiece) {
    expectDividedBy32("4k3/8/8/8/8/3n4/8/R3K3 w - - 0 1");
    expectDividedBy32("4k3/8/8/8/8/3b4/8/R3K3 w - - 0 1");
    expectDividedBy32("4k2r/8/8/8/8/8/8/RN2K3 w - - 0 1");  // rook and knight against a rook
    // Against a king with pawns and no pieces the rook's lead stands.
    const NodeState n = rootOf("4k3/pp6/8/8/8/8/8/R3K3 w - - 0 1");
    ASSERT_GT(unscaled(n), 0);
    EXPECT_EQ(n.score, unscaled(n));
}

TEST_F(EndingScale, BlackRookAgainstAMinorAlsoCountsTheWhiteKingsEdge) {
    const NodeState n = rootOf("r3k3/8/8/8/8/8/8/3NK3 w - - 0 1");  // White king on e1: edge weight 2
    ASSERT_LT(unscaled(n), 0);
    EXPECT_EQ(n.score, unscaled(n) / 32 - 4);
}

TEST_F(EndingScale, RookPawnWithTheDefendingKingInTheCorner) {
    for (const char* king : {"k7/8/", "1k6/8/", "8/k7/", "8/1k6/"})
        expectDividedBy32(std::string(king) + "8/8/8/8/P7/4K3 w - - 0 1");
    expectDividedBy32("k7/8/8/8/8/P7/P7/4K3 w - - 0 1");   // two a-pawns
    expectDividedBy32("k7/8/8/8/8/8/P7/2B1K3 w - - 0 1");  // a bishop that cannot cover a8
    expectWhiteLeadKept("2k5/8/8/8/8/8/P7/4K3 w - - 0 1");  // king on c8
    const NodeState lightBishop = rootOf("k7/8/8/8/8/8/P7/4KB2 w - - 0 1");
    EXPECT_NE(lightBishop.score, unscaled(lightBishop) / 32);
    EXPECT_GT(lightBishop.score, unscaled(lightBishop));
    expectWhiteLeadKept("k7/8/8/8/8/8/PP6/4K3 w - - 0 1");  // not all pawns on the a-file
    // The h-file twin and Black's mirror in the a1 corner.
    expectDividedBy32("7k/8/8/8/8/8/7P/4K3 w - - 0 1");
    expectDividedBy32("4k3/p7/8/8/8/8/8/K7 w - - 0 1");
}

TEST_F(EndingScale, MaterialBalanceCorrections) {
    // Two minors against a rook, queens on: +70 (no ending rules with both sides strong).
    NodeState n = rootOf("r2qk3/8/8/8/8/8/8/1NBQK3 w - - 0 1");
    EXPECT_EQ(rookVersusMinors(n), 70);
    EXPECT_EQ(n.score, termSum(n) + 70);
    n = rootOf("1nbqk3/8/8/8/8/8/8/R2QK3 w - - 0 1");
    EXPECT_EQ(rookVersusMinors(n), -70);
    EXPECT_EQ(n.score, termSum(n) - 70);
    // Bishop against knight with pawns.
    n = rootOf("4k3/pp6/4n3/8/8/8/PP6/2B1K3 w - - 0 1");
    EXPECT_EQ(bishopVersusKnight(n), 20);
    EXPECT_EQ(n.score, termSum(n) + 20);
}

TEST_F(EndingScale, LoneKingAgainstPawnsIsPushedFurther) {
    const NodeState n = rootOf("4k3/8/8/8/8/8/PPP5/4K3 w - - 0 1");
    ASSERT_GT(unscaled(n), 175);
    EXPECT_EQ(n.score, unscaled(n) + std::min(2 * unscaled(n), 350));
    const NodeState pawnless = rootOf("4k3/8/8/8/8/8/8/3BK3 w - - 0 1");  // a lone bishop wins nothing
    EXPECT_EQ(pawnless.score, 0);
}

}  // namespace
