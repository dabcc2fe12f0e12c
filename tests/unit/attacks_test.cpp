#include <gtest/gtest.h>

#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

class Attacks : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // Game colours equal stored colours: the engine plays the side to move.
    void load(std::string_view fen) {
        const bool blackToMove = fen.find(" b ") != std::string_view::npos;
        ASSERT_TRUE(parsePositionText(blackToMove, fen, st)) << fen;
        ASSERT_TRUE(st.enginePlaysWhite);
    }

    // Plays a move as the search does at the ply after a node of the mover's side
    // (a White move at ply 2, a Black one at ply 3), with the given in-check flag.
    bool legalAfter(Move move, bool moverIsBlack, bool moverInCheck = false) {
        st.ply = moverIsBlack ? 3 : 2;
        st.plyInfo[st.ply].inCheck = moverInCheck ? 1 : 0;
        makeMove(st, move);
        return isLegalAfterMove(st, move, moverIsBlack);
    }

    int checkAfter(Move move, bool moverIsBlack) {
        st.ply = moverIsBlack ? 3 : 2;
        st.plyInfo[st.ply + 1].inCheck = -7;  // must be overwritten
        makeMove(st, move);
        updateCheckFlag(st, move, moverIsBlack);
        return st.plyInfo[st.ply + 1].inCheck;
    }
};

Move quiet(int from, int to, int promotion = 0) { return makeMoveWord(from, to, kindQuiet, promotion); }
Move capture(int from, int to) { return makeMoveWord(from, to, kindCapture); }

// --- isSquareAttacked ----------------------------------------------------------------

TEST_F(Attacks, KingAloneAttacksItsNeighbours) {
    load("7k/8/8/8/8/8/8/K7 w - - 0 1");
    EXPECT_TRUE(isSquareAttacked(st, 32, true));   // b2
    EXPECT_TRUE(isSquareAttacked(st, 22, true));   // b1
    EXPECT_FALSE(isSquareAttacked(st, 43, true));  // c3
    EXPECT_FALSE(isSquareAttacked(st, 32, false));
    EXPECT_TRUE(isSquareAttacked(st, 87, false));  // g7 by the Black king
}

TEST_F(Attacks, PawnsAttackForwardDiagonallyOnly) {
    load("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(isSquareAttacked(st, 64, true));   // d5 by e4
    EXPECT_TRUE(isSquareAttacked(st, 66, true));   // f5 by e4
    EXPECT_FALSE(isSquareAttacked(st, 65, true));  // e5: straight ahead
    EXPECT_FALSE(isSquareAttacked(st, 46, true));  // f3: behind
    EXPECT_TRUE(isSquareAttacked(st, 55, false));  // e4 by d5
    EXPECT_TRUE(isSquareAttacked(st, 53, false));  // c4 by d5
    EXPECT_FALSE(isSquareAttacked(st, 74, false)); // d6: behind the Black pawn
}

TEST_F(Attacks, SlidersStopAtTheFirstPiece) {
    load("4k3/4r3/8/8/4P3/8/1q6/K7 w - - 0 1");
    EXPECT_TRUE(isSquareAttacked(st, 65, false));   // e5: rook's file up to the pawn
    EXPECT_TRUE(isSquareAttacked(st, 55, false));   // e4: the pawn itself
    EXPECT_FALSE(isSquareAttacked(st, 45, false));  // e3: behind the pawn
    EXPECT_TRUE(isSquareAttacked(st, 98, false));   // h8 along the queen's long diagonal
    EXPECT_TRUE(isSquareAttacked(st, 21, false));   // a1 by the queen on b2
    EXPECT_TRUE(isSquareAttacked(st, 38, false));   // h2 along the queen's rank
    EXPECT_FALSE(isSquareAttacked(st, 43, true));   // c3: out of the White king's reach
}

TEST_F(Attacks, KnightsJump) {
    load("4k3/8/8/8/3n4/8/8/4K3 w - - 0 1");
    for (int s : {62, 73, 75, 66, 46, 35, 33, 42}) EXPECT_TRUE(isSquareAttacked(st, s, false)) << s;
    EXPECT_FALSE(isSquareAttacked(st, 55, false));
    EXPECT_FALSE(isSquareAttacked(st, 64, false));
}

// --- isCastlingPathSafe ----------------------------------------------------------------

TEST_F(Attacks, CastlingPathTestsKingCrossingAndDestination) {
    const Move whiteShort = 0x001E1B19, whiteLong = makeMoveWord(25, 23, kindCastling);
    load("4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // f1 attacked
    EXPECT_FALSE(isCastlingPathSafe(st, whiteShort));
    EXPECT_TRUE(isCastlingPathSafe(st, whiteLong));
    load("1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // only b1 attacked
    EXPECT_TRUE(isCastlingPathSafe(st, whiteLong));
    EXPECT_TRUE(isCastlingPathSafe(st, whiteShort));
    load("3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // d1 attacked
    EXPECT_FALSE(isCastlingPathSafe(st, whiteLong));
    load("2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // c1 attacked
    EXPECT_FALSE(isCastlingPathSafe(st, whiteLong));
    load("k3r3/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // in check
    EXPECT_FALSE(isCastlingPathSafe(st, whiteShort));
    EXPECT_FALSE(isCastlingPathSafe(st, whiteLong));

    const Move blackShort = makeMoveWord(95, 97, kindCastling), blackLong = 0x001E5D5F;
    load("r3k2r/8/8/8/8/8/8/1R2K1R1 b kq - 0 1");  // g8 and b8 attacked
    EXPECT_FALSE(isCastlingPathSafe(st, blackShort));
    EXPECT_TRUE(isCastlingPathSafe(st, blackLong));
    load("r3k2r/8/8/8/8/8/8/3RK3 b kq - 0 1");  // d8 attacked
    EXPECT_FALSE(isCastlingPathSafe(st, blackLong));
    EXPECT_TRUE(isCastlingPathSafe(st, blackShort));
    EXPECT_FALSE(isCastlingPathSafe(st, quiet(95, 96)));  // not a castling word
}

// --- isLegalAfterMove ------------------------------------------------------------------

TEST_F(Attacks, PinnedPieceLeavingTheLineIsIllegal) {
    load("4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1");  // Nd2 pinned by Bb4
    EXPECT_FALSE(legalAfter(quiet(34, 46), false));
    EXPECT_TRUE(isSquareAttacked(st, 25, false));
    load("4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1");
    EXPECT_TRUE(legalAfter(quiet(25, 35), false));  // the king steps off the line
    load("4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1");
    st.position.squares[52] = blackRook;  // a rook does not pin along a diagonal
    EXPECT_TRUE(legalAfter(quiet(34, 46), false));
}

TEST_F(Attacks, PinnedPieceMovingAlongTheLineIsLegal) {
    const char* fen = "4r2k/8/8/8/4R3/8/8/4K3 w - - 0 1";
    load(fen);
    EXPECT_TRUE(legalAfter(quiet(55, 75), false));
    load(fen);
    EXPECT_TRUE(legalAfter(quiet(55, 35), false));
    load(fen);
    EXPECT_TRUE(legalAfter(capture(55, 95), false));
    load(fen);
    EXPECT_FALSE(legalAfter(quiet(55, 54), false));
}

TEST_F(Attacks, KingMovesTakeTheFullTest) {
    const char* fen = "3r3k/8/8/8/8/8/8/4K3 w - - 0 1";
    load(fen);
    EXPECT_FALSE(legalAfter(quiet(25, 24), false));
    load(fen);
    EXPECT_TRUE(legalAfter(quiet(25, 26), false));
    load("4k3/8/8/8/8/8/3Q4/4K3 b - - 0 1");
    EXPECT_FALSE(legalAfter(quiet(95, 84), true));  // onto the queen's file
    load("4k3/8/8/8/8/8/3Q4/4K3 b - - 0 1");
    EXPECT_TRUE(legalAfter(quiet(95, 86), true));
}

TEST_F(Attacks, MoverInCheckTakesTheFullTest) {
    const char* fen = "k3r3/8/8/8/R7/8/8/1N2K3 w - - 0 1";  // Re8 checks
    load(fen);
    EXPECT_FALSE(legalAfter(quiet(22, 43), false, true));  // Nc3 ignores the check
    load(fen);
    EXPECT_TRUE(legalAfter(quiet(22, 43), false, false));  // without the flag only pins count
    load(fen);
    EXPECT_TRUE(legalAfter(quiet(51, 55), false, true));   // Re4 blocks
}

TEST_F(Attacks, EnPassantThatUncoversTheKingIsIllegal) {
    // d5 shields the king on a8 from the bishop on h1; taking it en passant opens the
    // diagonal, which neither the from-square nor the to-square lies on.
    load("K6k/8/8/3pP3/8/8/8/7b w - d6 0 1");
    ASSERT_EQ(st.position.enPassantPawn, 64);
    EXPECT_FALSE(legalAfter(makeMoveWord(65, 74, kindEnPassant), false));
    load("K6k/8/8/3pP3/8/8/8/8 w - d6 0 1");
    EXPECT_TRUE(legalAfter(makeMoveWord(65, 74, kindEnPassant), false));
    // Both pawns on the king's rank.
    load("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1");
    EXPECT_FALSE(legalAfter(makeMoveWord(65, 74, kindEnPassant), false));
    // Black taking en passant with its king on the diagonal through the White pawn.
    load("7k/8/8/8/3Pp3/8/8/K6B b - d3 0 1");
    ASSERT_EQ(st.position.enPassantPawn, 54);
    st.position.squares[98] = 0;
    st.position.squares[91] = blackKing;
    st.position.blackKingSquare = 91;
    st.position.squares[28] = whiteBishop;
    EXPECT_FALSE(legalAfter(makeMoveWord(55, 44, kindEnPassant), true));
}

// --- updateCheckFlag -------------------------------------------------------------------

TEST_F(Attacks, DirectChecksByEachPiece) {
    load("4k3/8/3P4/8/4N3/3B4/8/R2QK3 w - - 0 1");
    const Position start = st.position;
    EXPECT_EQ(checkAfter(quiet(55, 76), false), 1);  // Nf6+
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(55, 63), false), 0);  // Nc5
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(74, 84), false), 1);  // d7+
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(44, 62), false), 1);  // Bb5+
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(44, 53), false), 0);  // Bc4
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(21, 91), false), 1);  // Ra8+
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(24, 68), false), 1);  // Qh5+
    st.position = start;
    EXPECT_EQ(checkAfter(quiet(24, 57), false), 0);  // Qg4
    load("4k3/8/8/8/8/5p2/8/4K3 b - - 0 1");
    EXPECT_EQ(checkAfter(quiet(46, 36), true), 1);   // f2+ by Black
    load("4k3/8/8/8/8/5p2/8/3K4 b - - 0 1");
    EXPECT_EQ(checkAfter(quiet(46, 36), true), 0);
}

TEST_F(Attacks, BlockedLineGivesNoCheck) {
    load("4k3/3p4/8/8/8/3B4/8/4K3 w - - 0 1");
    EXPECT_EQ(checkAfter(quiet(44, 62), false), 0);
}

TEST_F(Attacks, PromotionChecksWithTheNewPiece) {
    const char* fen = "4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
    load(fen);
    EXPECT_EQ(checkAfter(quiet(81, 91, whiteQueen), false), 1);
    load(fen);
    EXPECT_EQ(checkAfter(quiet(81, 91, whiteKnight), false), 0);
}

TEST_F(Attacks, DiscoveredChecks) {
    load("4k3/8/8/8/8/8/4B3/4RK2 w - - 0 1");  // Be2 in front of Re1
    EXPECT_EQ(checkAfter(quiet(35, 44), false), 1);
    load("4k3/8/8/4p3/8/8/4B3/4RK2 w - - 0 1");  // a pawn still shields
    EXPECT_EQ(checkAfter(quiet(35, 44), false), 0);
    load("4k3/8/2N5/1B6/8/8/8/4K3 w - - 0 1");  // Nc6 in front of Bb5
    EXPECT_EQ(checkAfter(quiet(73, 65), false), 1);
    load("4k3/8/2N5/1R6/8/8/8/4K3 w - - 0 1");  // a rook does not see along the diagonal
    EXPECT_EQ(checkAfter(quiet(73, 65), false), 0);
    load("4r2k/8/8/4b3/8/8/8/4K3 b - - 0 1");  // Black: Be5 in front of Re8
    EXPECT_EQ(checkAfter(quiet(65, 54), true), 1);
}

TEST_F(Attacks, CastlingAndEnPassantTakeTheFullTest) {
    load("5k2/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(checkAfter(0x001E1B19, false), 1);  // the rook on f1 checks
    load("6k1/8/8/3pP3/8/8/B7/4K3 w - d6 0 1");
    EXPECT_EQ(checkAfter(makeMoveWord(65, 74, kindEnPassant), false), 1);  // a2 sees g8 through d5
    load("r3k3/8/8/8/8/8/8/3K4 b q - 0 1");
    EXPECT_EQ(checkAfter(0x001E5D5F, true), 1);  // the rook on d8 checks Kd1
}

// --- kingHasFewFlights ----------------------------------------------------------------

TEST_F(Attacks, KingShieldsTheSquareBehindItself) {
    // King e5 checked along the rank by a rook on a5: f5 counts as safe.
    load("7k/8/8/r3K3/8/8/8/8 w - - 0 1");
    st.ply = 1;
    EXPECT_FALSE(isSquareAttacked(st, 56, false));
    EXPECT_TRUE(kingHasFewFlights(st, 7));   // e6 d6 f6 f5 d4 e4 f4: seven, d5 attacked
    EXPECT_FALSE(kingHasFewFlights(st, 6));
}

TEST_F(Attacks, FrameAndOwnPiecesAreNoFlights) {
    load("7k/8/8/8/8/8/3P4/4K3 w - - 0 1");
    st.ply = 1;  // White to move: e1 has d1, f1, e2, f2 (d2 is its own pawn)
    EXPECT_TRUE(kingHasFewFlights(st, 4));
    EXPECT_FALSE(kingHasFewFlights(st, 3));
    st.ply = 2;  // Black to move: h8 has g8, g7, h7
    EXPECT_TRUE(kingHasFewFlights(st, 3));
    EXPECT_FALSE(kingHasFewFlights(st, 2));
    st.position.squares[87] = whiteQueen;  // covers g8 and h7; g7 itself is unprotected
    EXPECT_TRUE(kingHasFewFlights(st, 1));
    EXPECT_FALSE(kingHasFewFlights(st, 0));
}

}  // namespace
