#include <gtest/gtest.h>

#include <string>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

constexpr const char* startText = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class PositionSetup : public EngineTest {
protected:
    Position& p = st.position;
};

TEST_F(PositionSetup, BlackToMoveTurnsTheBoardAndExchangesColours) {
    Position want = st.emptyBoard;
    want.whiteCastling = want.enPassantPawn = 0;
    want.squares[25] = whiteKing;   // game e8
    want.squares[32] = whitePawn;   // game b7
    want.squares[87] = blackKnight; // game g2
    want.squares[91] = blackRook;   // game a1
    want.squares[95] = blackKing;   // game e1
    want.whiteKingSquare = 25;
    want.blackKingSquare = 95;
    want.blackCastling = queenSideRight;  // the game's White right
    // "0", "9", blanks and other letters move nothing; short ranks are filled with nothing.
    for (const char* text : {"4k3/1p6/8/8/8/8/6N1/R3K3 b Q - 0 1", "4k0x 9/1p/8/8/8/8/6N/R3K b Q - 0 1"}) {
        ASSERT_TRUE(parsePositionText(false, text, st));
        EXPECT_FALSE(st.enginePlaysWhite);
        // Every one of the 128 bytes, so stray writes into the frame or spare entries show.
        for (int k = 0; k < 128; ++k) EXPECT_EQ(positionBytes(p)[k], positionBytes(want)[k]) << k << " " << text;
    }
}

// A missing side letter or ninth rank is refused end to end in tests/fuzz/blackbox_fuzz.py.
TEST_F(PositionSetup, APieceOffTheBoardIsRefused) {
    for (const char* side : {" w - - 0 1", " b - - 0 1"})
        for (const char* placement : {"8/8/8/8/8/8/8/8/K7", "rnbqkbnrp/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/8K",
                                      "4k3//////////////K"})
            EXPECT_FALSE(parsePositionText(false, std::string(placement) + side, st)) << placement << side;
    // Digits alone may carry the cursor into the next rank; only the landing square counts.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/8/8/8/8/88888888K w - - 0 1", st));
    EXPECT_EQ(p.whiteKingSquare, 85);
}

TEST_F(PositionSetup, CastlingRights) {
    const int both = kingSideRight | queenSideRight;
    const struct { bool opponent; const char* text; int white, black; } cases[] = {
        {false, "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", kingSideRight, queenSideRight},
        {false, "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 0 1", queenSideRight, kingSideRight},
        {true, "r3k2r/8/8/8/8/8/8/R3K2R w KQk - 0 1", kingSideRight, both},
        {false, "r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1 Q", queenSideRight, 0},  // letters count anywhere behind
        {false, "r3k2r/8/8/8/8/8/8/R3K2R w - - bm Kd2", 0, 0},  // but not inside EPD operations
        // Dropped unless king and rook stand at home, and the rook is of the king's colour.
        {false, "4k3/8/8/8/8/8/8/4K2R w KQkq - 0 1", kingSideRight, 0},
        {false, "r2k3r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", 0, 0},
        {false, "R3k2r/8/8/8/8/8/8/r3K2R w KQkq - 0 1", kingSideRight, kingSideRight},
        // Turned round: the game's Black king e8 and rook a8 are the stored White ones on 25 and 21.
        {false, "r3k3/8/8/8/8/8/8/4K2R b KQkq - 0 1", queenSideRight, kingSideRight}};
    for (const auto& c : cases) {
        ASSERT_TRUE(parsePositionText(c.opponent, c.text, st)) << c.text;
        EXPECT_EQ(p.whiteCastling, c.white) << c.text;
        EXPECT_EQ(p.blackCastling, c.black) << c.text;
    }
}

TEST_F(PositionSetup, EnPassantOnlyWhereTheCaptureExists) {
    // Engine to move: its pawn takes. Opponent to move: the engine's pawn just advanced.
    const struct { bool opponent; const char* text; int pawn; } cases[] = {
        {false, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", 64},
        {true, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", 54},
        {false, "rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", 65},
        {true, "rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", 55},
        {false, "4k3/8/8/3pPp2/8/8/8/4K3 w - e6 0 1", 0},     // no pawn to take there
        {false, "4k3/8/8/3p4/8/8/8/4K3 w - d6 0 1", 0},       // no pawn to take with
        {false, "4k3/8/8/8/3pP3/8/8/4K3 w - e3 0 1", 0},      // the opponent's pawn
        {false, "4k3/8/8/3pP3/8/8/8/4K3 w - - am d6", 0},     // the name inside an EPD operation
        // A piece on the square passed over would be erased by the capture.
        {false, "4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", 0},
        {true, "4k3/8/8/8/3pP3/4N3/8/4K3 b - e3 0 1", 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(parsePositionText(c.opponent, c.text, st)) << c.text;
        EXPECT_EQ(p.enPassantPawn, c.pawn) << c.text << " " << c.opponent;
    }
}

// As the engine to move sets them up, missing or extra kings, pawns on the first or last
// rank, 17 pieces and checks are refused or taken end to end in tests/fuzz/blackbox_fuzz.py.
TEST_F(PositionSetup, PlayablePositions) {
    const struct { const char* text; bool opponentToMove, playable; } cases[] = {
        {startText, true, true},
        {"qqqqkqqq/qqqqqqqq/q7/8/8/8/8/4K3 w - - 0 1", true, false},  // at most 16 pieces a side
        {"4k3/8/8/8/8/8/8/4r1K1 w - - 0 1", true, true},  // the side to move may stand in check
        {"4k3/8/8/8/8/8/8/4r1K1 b - - 0 1", true, false},  // the other side may not
        {"8/8/8/3kK3/8/8/8/8 b - - 0 1", false, false},
        // Digits carry the second king into the next rank, where a rook covers it: the
        // king entry would name the rook's square.
        {"k7/622k/R7/8/8/8/8/4K3 b - - 0 1", false, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(parsePositionText(c.opponentToMove, c.text, st)) << c.text;
        EXPECT_EQ(isPlayablePosition(st, !c.opponentToMove), c.playable) << c.text << " " << c.opponentToMove;
    }
}

}  // namespace
