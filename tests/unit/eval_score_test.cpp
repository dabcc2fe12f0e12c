// The static evaluation at the root and its reuse of inherited terms.
#include "eval_test_support.h"

namespace {

class StaticEvaluation : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    NodeState rootOf(const std::string& fen, int ply = 1) {
        setBoard(st, fen);
        return evaluateAtRoot(st, ply);
    }
    int pieceTermsOf(const std::string& fen) { return rootOf(fen).pieceTerms; }
};

TEST_F(StaticEvaluation, StartPositionScoresMinusTwentyAtTheRoot) {
    st.position = st.startPosition;
    const NodeState n = evaluateAtRoot(st);
    EXPECT_EQ(n.score, -20);
    EXPECT_EQ(n.positionalTerm, -20);
    EXPECT_EQ(n.pawnStructure, 0);
    EXPECT_EQ(n.passedPawns, 0);
    EXPECT_EQ(n.pieceTerms, 0);
    EXPECT_EQ(n.kingPlacement, 0);
    EXPECT_EQ(n.whiteKingDanger, 0);
    EXPECT_EQ(n.blackKingDanger, 0);
    // The same board stored with the engine not to move, as at a ply-2 root.
    setBoard(st, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", true);
    EXPECT_EQ(evaluateAtRoot(st, 2).score, -20);
}

TEST_F(StaticEvaluation, EvaluateLeavesTheScoreAndTheBoardAlone) {
    setBoard(st, "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq - 0 1");
    const Position before = st.position;
    NodeState n = evaluateAtRoot(st);
    const int score = n.score;
    n.score = 12345;
    evaluate(n, true, 0, st);
    EXPECT_EQ(n.score, 12345);
    lazyScore(n, st);
    EXPECT_EQ(n.score, score);
    for (int k = 0; k < 128; ++k) EXPECT_EQ(positionBytes(st.position)[k], positionBytes(before)[k]) << k;
}

TEST_F(StaticEvaluation, InheritedTermsStandUntilTheirTriggersFire) {
    // Middle game: without a pawn change the pawn structure and passed pawns are the parent's.
    NodeState n = rootOf("r1bqkbnr/pppp1ppp/2n5/4P3/8/8/PPP1PPPP/RNBQKBNR w KQkq - 0 1");
    n.pawnStructure = 777;
    n.passedPawns = 999;
    n.whiteKingDanger = n.blackKingDanger = 55;
    evaluate(n, false, -1, st);
    EXPECT_EQ(n.pawnStructure, 777);
    EXPECT_EQ(n.passedPawns, 999);
    EXPECT_EQ(n.whiteKingDanger, 55);  // no king safety below depth 0
    evaluate(n, false, 0, st);
    EXPECT_EQ(n.whiteKingDanger, 0);
    // Ending material: passed pawns are always recomputed, the structure still inherited.
    const NodeState ending = rootOf("4k3/8/8/3P4/8/8/8/R3K3 w - - 0 1");
    n = ending;
    n.pawnStructure = 777;
    n.passedPawns = 999;
    evaluate(n, false, 0, st);
    EXPECT_EQ(n.pawnStructure, 777);
    EXPECT_EQ(n.passedPawns, ending.passedPawns);
}

TEST_F(StaticEvaluation, UnstoppablePawnAgainstALoneKing) {
    // e5 pawn, Black king on a1: 7 steps from e8, the pawn needs 4.
    for (int ply : {1, 2}) {
        const NodeState n = rootOf("8/8/8/4P3/8/8/8/k3K3 w - - 0 1", ply);
        EXPECT_EQ(n.pieceTerms, 32 * 5 + 400) << ply;
        EXPECT_EQ(n.passedPawns, 51 + 4 * 5) << ply;  // ending table and king distance to e6
    }
    EXPECT_EQ(rootOf("8/8/3k4/4P3/8/8/8/4K3 w - - 0 1", 1).pieceTerms, 0);
    EXPECT_EQ(rootOf("8/8/3k4/4P3/8/8/8/4K3 w - - 0 1", 2).pieceTerms, 0);
    // Black's pawn on e4 against a White king on h8, and the square rule's tempo.
    EXPECT_EQ(rootOf("k6K/8/8/8/4p3/8/8/8 w - - 0 1").pieceTerms, -(32 * 5 + 400));
    // King on h5, four steps from e1: in time only when White is to move.
    EXPECT_EQ(rootOf("k7/8/8/7K/4p3/8/8/8 w - - 0 1", 1).pieceTerms, 0);
    EXPECT_EQ(rootOf("k7/8/8/7K/4p3/8/8/8 w - - 0 1", 2).pieceTerms, -560);
}

TEST_F(StaticEvaluation, PieceRules) {
    const std::string open = "4k3/8/8/8/8/8/8/R3K3 w - - 0 1";
    // Rook on an open a-file, e1 king not next to it: +20 open file, 0 cramp (b1, c1, d1 empty).
    EXPECT_EQ(pieceTermsOf(open), 20);
    EXPECT_EQ(pieceTermsOf("4k3/p7/8/8/8/8/8/R3K3 w - - 0 1"), 15);  // half-open
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/8/P7/R3K3 w - - 0 1"), 0);   // own pawn in front
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/8/8/RK6 w - - 0 1"), 20 - 24);  // king beside it
    EXPECT_EQ(pieceTermsOf("R3k3/8/8/8/8/8/8/4K3 w - - 0 1"), 20);      // eighth rank
    // A bishop caught on a7 behind b6: trapped (-120); reach from rank 7 is a flat +28;
    // with no own pawn it pays for its colour nothing.
    EXPECT_EQ(pieceTermsOf("4k3/B7/1p6/8/8/8/8/4K3 w - - 0 1"), -120 + 28);
    // Bishop on c1 with the b2 and d2 pawns in place: shut in (-15); pawns on dark squares.
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/8/1P1P4/2B1K3 w - - 0 1"), -15 + 0 - 8);
    // The d2 pawn blocked by a piece on d3.
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/3n4/3P4/4K3 w - - 0 1") -
                  pieceTermsOf("4k3/8/8/8/8/4n3/3P4/4K3 w - - 0 1"),
              -20);
    // Black queen two steps from the White king: -40, whatever its file.
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/8/6q1/4K3 w - - 0 1"), -40);
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/8/8/q3K3 w - - 0 1"), 0);
    // A White queen next to the Black king gets nothing.
    EXPECT_EQ(pieceTermsOf("4k3/3Q4/8/8/8/8/8/4K3 w - - 0 1"), 0);
    // Knight on c3 in front of the c2 pawn with a Black pawn on square 64 (d5).
    EXPECT_EQ(pieceTermsOf("4k3/8/8/3p4/8/2N5/2P5/4K3 w - - 0 1") -
                  pieceTermsOf("4k3/8/8/3p4/8/2N5/1P6/4K3 w - - 0 1"),
              -20);
    EXPECT_EQ(pieceTermsOf("4k3/2p5/2n5/8/3P4/8/8/4K3 w - - 0 1") -
                  pieceTermsOf("4k3/1p6/2n5/8/3P4/8/8/4K3 w - - 0 1"),
              20);  // Black's twin: c6 knight, c7 pawn, White pawn on square 54 (d4)
    // An unguarded knight on a Black rook's line; the rook itself stands on an open file.
    EXPECT_EQ(pieceTermsOf("2r1k3/8/8/8/8/2N5/8/4K3 w - - 0 1"), -20 - 20);
    EXPECT_EQ(pieceTermsOf("2r1k3/8/8/8/8/2N5/3P4/4K3 w - - 0 1"), -20);  // guarded by d2
    // ... or on a Black bishop's diagonal (the bishop, reaching the frame, pays -28); a
    // queen on that diagonal does not count.
    EXPECT_EQ(pieceTermsOf("4k3/8/8/b7/8/2N5/8/4K3 w - - 0 1"), -20 - 28);
    EXPECT_EQ(pieceTermsOf("4k3/8/8/q7/8/2N5/8/4K3 w - - 0 1"), 0);
}

TEST_F(StaticEvaluation, BishopColourTermsAndThePair) {
    // Pawns on a3 (dark) and b3 (light). Each bishop reaches rank 7 (+20); the pair earns
    // +30, and each bishop loses 4 per own pawn on its colour.
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/PP6/8/2B1KB2 w - - 0 1"), 20 + 20 - 4 + 30 - 4);
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/PP6/8/2B1K3 w - - 0 1"), 20 - 4);
    EXPECT_EQ(pieceTermsOf("4k3/8/8/8/8/PP6/8/4KB2 w - - 0 1"), 20 - 4);
    EXPECT_EQ(pieceTermsOf("2b1kb2/8/pp6/8/8/8/8/4K3 w - - 0 1"), -(20 + 20 - 4 + 30 - 4));
}

}  // namespace
