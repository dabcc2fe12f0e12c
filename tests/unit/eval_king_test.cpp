// King danger and king placement.
#include "eval_test_support.h"

namespace {

class KingTerms : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    NodeState dangerOf(const std::string& fen) {
        setBoard(st, fen);
        NodeState n{};
        initMaterial(n, st);
        const Position before = st.position;
        kingSafety(n, st);
        for (int k = 0; k < 128; ++k)
            EXPECT_EQ(positionBytes(st.position)[k], positionBytes(before)[k]) << "entry " << k;
        return n;
    }
    int kingPlacementOf(const std::string& fen) {
        setBoard(st, fen);
        return evaluateAtRoot(st).kingPlacement;
    }
};

TEST_F(KingTerms, DangerWhenNoZoneSquareIsSafe) {
    // Rooks sweep ranks 1 to 3 through the lifted a1 king.
    NodeState n = dangerOf("7k/8/8/8/8/7r/7r/K6r w - - 0 1");
    EXPECT_EQ(n.whiteKingDanger, 160);
    EXPECT_EQ(n.blackKingDanger, 0);  // White has no pieces
    // Squares held by Black pieces count as unsafe for the White king.
    n = dangerOf("7k/8/8/8/8/nnn5/7r/K6r w - - 0 1");
    EXPECT_EQ(n.whiteKingDanger, 160);
}

TEST_F(KingTerms, FiveSafeSquaresMeanNoDanger) {
    st.position = st.startPosition;
    NodeState n{};
    initMaterial(n, st);
    kingSafety(n, st);
    EXPECT_EQ(n.whiteKingDanger, 0);
    EXPECT_EQ(n.blackKingDanger, 0);
    // A queen and a rook against a king alone: enough material, but the zone is free.
    n = dangerOf("7k/8/8/8/8/8/8/QR2K3 w - - 0 1");
    EXPECT_EQ(n.blackKingDanger, 0);
}

TEST_F(KingTerms, BlackKingZoneCountsWhiteHeldSquaresThatAreNotAttacked) {
    // White knights on f6, g6, h6 attack g8, h7, h8, f8 and f7; g7 and the three knights'
    // own squares stay safe: four safe squares.
    const NodeState n = dangerOf("7k/8/5NNN/8/8/8/8/R3K3 w - - 0 1");
    EXPECT_EQ(n.blackKingDanger, 32);
    EXPECT_EQ(n.whiteKingDanger, 0);
}

TEST_F(KingTerms, NoDangerWithoutEnoughEnemyMaterial) {
    // Black has only a queen (925): the White king is not examined.
    const NodeState n = dangerOf("7k/8/8/8/8/8/6q1/7K w - - 0 1");
    EXPECT_EQ(n.whiteKingDanger, 0);
}

TEST_F(KingTerms, CastledKingOnG1WantsAPawnOnF2OrE3) {
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1RK1 w kq - 0 1"), 0);
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/5P2/8/PPPPP1PP/RNBQ1RK1 w kq - 0 1"), -10);
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/5P2/4P3/PPPP2PP/RNBQ1RK1 w kq - 0 1"), 0);
}

TEST_F(KingTerms, MiddleGameShelterRules) {
    const std::string black = "rnbqkbnr/pppppppp/8/8/8/8/";
    // Still allowed to castle short but the g-pawn has gone: -20.
    EXPECT_EQ(kingPlacementOf(black + "PPPPPP1P/RNBQKBNR w KQkq - 0 1"), -20);
    // A king that has walked up the board.
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1"), -150);
    // Long castled king on c1 without the b-pawn and with an empty c-file above it.
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/8/8/P3PPPP/2KRQBNR w kq - 0 1"), -40 - 20 - 10);
    // ... a d2 pawn covers the diagonal in front.
    EXPECT_EQ(kingPlacementOf("rnbqkbnr/pppppppp/8/8/8/8/P2PPPPP/2KRQBNR w kq - 0 1"), -40 - 20);
    // Black mirrored: castled on g8, f7 pawn gone and nothing on e6.
    EXPECT_EQ(kingPlacementOf("rnbq1rk1/ppppp1pp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1"), 10);
}

TEST_F(KingTerms, EndingKingCentralises) {
    // Black with a rook only, White with nothing: the table value times four for each king.
    EXPECT_EQ(kingPlacementOf("8/8/8/3k4/8/8/8/4K2r w - - 0 1"), 4 * 1 - 4 * 7);
    // Two Black rooks (980, between 925 and 1725): the plain value for the White king.
    EXPECT_EQ(kingPlacementOf("rr2k3/8/8/8/8/8/8/4K3 w - - 0 1"), 1 - 4 * 1);
}

}  // namespace
