#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

class MakeMove : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    Position& p = st.position;

    // Positions in game colours; with White to move (or opponentToMove for Black to
    // move) the stored board is the game board.
    void load(std::string_view fen) {
        const bool blackToMove = fen.find(" b ") != std::string_view::npos;
        ASSERT_TRUE(parsePositionText(blackToMove, fen, st)) << fen;
        ASSERT_TRUE(st.enginePlaysWhite);
    }
};

TEST_F(MakeMove, DoubleStepEntersEnPassantOnlyBesideAnEnemyPawn) {
    p = st.startPosition;
    EXPECT_EQ(makeMove(st, makeMoveWord(35, 55, kindQuiet)), 0);
    EXPECT_EQ(p.squares[55], whitePawn);
    EXPECT_EQ(p.squares[35], emptySquare);
    EXPECT_EQ(p.enPassantPawn, 0);

    load("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(makeMove(st, makeMoveWord(84, 64, kindQuiet)), 0);
    EXPECT_EQ(p.enPassantPawn, 64);
    EXPECT_EQ(makeMove(st, makeMoveWord(65, 74, kindEnPassant)), blackPawn);
    EXPECT_EQ(p.squares[64], emptySquare);
    EXPECT_EQ(p.squares[74], whitePawn);
    EXPECT_EQ(p.squares[65], emptySquare);
    EXPECT_EQ(p.enPassantPawn, 0);

    load("4k3/3p4/8/8/4P3/8/8/4K3 b - - 0 1");  // the White pawn one rank further back
    makeMove(st, makeMoveWord(84, 64, kindQuiet));
    EXPECT_EQ(p.enPassantPawn, 0);
}

TEST_F(MakeMove, BlackTakesEnPassant) {
    load("4k3/8/8/8/3p4/8/2P5/4K3 w - - 0 1");
    makeMove(st, makeMoveWord(33, 53, kindQuiet));
    EXPECT_EQ(p.enPassantPawn, 53);
    EXPECT_EQ(makeMove(st, makeMoveWord(54, 43, kindEnPassant)), whitePawn);
    EXPECT_EQ(p.squares[53], emptySquare);
    EXPECT_EQ(p.squares[43], blackPawn);
    EXPECT_EQ(p.squares[54], emptySquare);
}

TEST_F(MakeMove, CastlingMovesTheRookAndFollowsTheKing) {
    load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Position before = p;
    makeMove(st, 0x001E1B19);  // White king side
    EXPECT_EQ(p.squares[27], whiteKing);
    EXPECT_EQ(p.squares[26], whiteRook);
    EXPECT_EQ(p.squares[25], emptySquare);
    EXPECT_EQ(p.squares[28], emptySquare);
    EXPECT_EQ(p.whiteKingSquare, 27);
    EXPECT_EQ(p.whiteCastling, 0);
    EXPECT_EQ(p.blackCastling, 3);

    p = before;
    makeMove(st, makeMoveWord(25, 23, kindCastling));
    EXPECT_EQ(p.squares[23], whiteKing);
    EXPECT_EQ(p.squares[24], whiteRook);
    EXPECT_EQ(p.squares[21], emptySquare);
    EXPECT_EQ(p.whiteKingSquare, 23);

    p = before;
    makeMove(st, 0x001E5D5F);  // Black queen side
    EXPECT_EQ(p.squares[93], blackKing);
    EXPECT_EQ(p.squares[94], blackRook);
    EXPECT_EQ(p.squares[91], emptySquare);
    EXPECT_EQ(p.squares[95], emptySquare);
    EXPECT_EQ(p.blackKingSquare, 93);
    EXPECT_EQ(p.blackCastling, 0);

    p = before;
    makeMove(st, makeMoveWord(95, 97, kindCastling));
    EXPECT_EQ(p.squares[97], blackKing);
    EXPECT_EQ(p.squares[96], blackRook);
    EXPECT_EQ(p.squares[98], emptySquare);

    // An ordinary king step moves only the king, and its rights are gone.
    p = before;
    makeMove(st, makeMoveWord(25, 26, kindQuiet));
    EXPECT_EQ(p.squares[28], whiteRook);
    EXPECT_EQ(p.whiteKingSquare, 26);
    EXPECT_EQ(p.whiteCastling, 0);
}

TEST_F(MakeMove, RookMovesAndCapturesOnHomeSquaresDropRights) {
    load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const Position before = p;
    makeMove(st, makeMoveWord(21, 31, kindQuiet));
    EXPECT_EQ(p.whiteCastling, kingSideRight);
    makeMove(st, makeMoveWord(31, 21, kindQuiet));  // back home: the right stays lost
    EXPECT_EQ(p.whiteCastling, kingSideRight);
    makeMove(st, makeMoveWord(21, 22, kindQuiet));  // from a1 again: keeps bit 0 only
    EXPECT_EQ(p.whiteCastling, kingSideRight);

    p = before;
    makeMove(st, makeMoveWord(28, 38, kindQuiet));
    EXPECT_EQ(p.whiteCastling, queenSideRight);
    makeMove(st, makeMoveWord(38, 48, kindQuiet));  // not from a home square
    EXPECT_EQ(p.whiteCastling, queenSideRight);

    p = before;
    makeMove(st, makeMoveWord(98, 88, kindQuiet));
    EXPECT_EQ(p.blackCastling, queenSideRight);
    makeMove(st, makeMoveWord(91, 81, kindQuiet));
    EXPECT_EQ(p.blackCastling, 0);
}

TEST_F(MakeMove, CaptureOfAHomeRookTakesItsRight) {
    load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    p.squares[46] = blackBishop;  // a bishop on f3 sees h1
    EXPECT_EQ(makeMove(st, makeMoveWord(46, 28, kindCapture)), whiteRook);
    EXPECT_EQ(p.whiteCastling, queenSideRight);
    EXPECT_EQ(p.squares[28], blackBishop);

    load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    makeMove(st, makeMoveWord(21, 91, kindCapture));  // Ra1xa8
    EXPECT_EQ(p.blackCastling, kingSideRight);
    EXPECT_EQ(p.whiteCastling, kingSideRight);
}

TEST_F(MakeMove, PromotionsAndCapturedValues) {
    load("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    const Position before = p;
    EXPECT_EQ(makeMove(st, makeMoveWord(81, 92, kindCapture, whiteQueen)), blackRook);
    EXPECT_EQ(p.squares[92], whiteQueen);
    EXPECT_EQ(p.squares[81], emptySquare);

    p = before;
    EXPECT_EQ(makeMove(st, makeMoveWord(81, 91, kindQuiet, whiteKnight)), 0);
    EXPECT_EQ(p.squares[91], whiteKnight);

    load("4k3/8/8/8/8/8/p7/1N2K3 b - - 0 1");
    EXPECT_EQ(makeMove(st, makeMoveWord(31, 22, kindCapture, blackRook)), whiteKnight);
    EXPECT_EQ(p.squares[22], blackRook);
}

TEST_F(MakeMove, QuietWordOnAnOccupiedSquareOverwritesAndReportsNothing) {
    load("4k3/8/8/3p4/8/8/8/3RK3 w - - 0 1");
    EXPECT_EQ(makeMove(st, makeMoveWord(24, 64, kindQuiet)), 0);
    EXPECT_EQ(p.squares[64], whiteRook);
}

TEST_F(MakeMove, NullMoveOnlyClearsEnPassant) {
    load("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    ASSERT_EQ(p.enPassantPawn, 64);
    Position expected = p;
    expected.enPassantPawn = 0;
    EXPECT_EQ(makeMove(st, nullMove), 0);
    EXPECT_EQ(std::memcmp(&p, &expected, sizeof(Position)), 0);
}

TEST_F(MakeMove, EmptyFromSquareChangesNothingButEnPassant) {
    load("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    Position expected = p;
    expected.enPassantPawn = 0;
    EXPECT_EQ(makeMove(st, makeMoveWord(44, 64, kindCapture)), 0);
    EXPECT_EQ(std::memcmp(&p, &expected, sizeof(Position)), 0);
}

TEST(Snapshot, RestoresEveryEntryOfThePosition) {
    auto state = makeEngineState();
    EngineState& st = *state;
    ASSERT_TRUE(parsePositionText(false, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", st));
    const Position before = st.position;
    PositionSnapshot snapshot;
    saveSnapshot(snapshot, st);
    EXPECT_EQ(snapshot.squares[0], whiteRook);   // a1
    EXPECT_EQ(snapshot.squares[4], whiteKing);   // e1
    EXPECT_EQ(snapshot.squares[63], blackRook);  // h8
    EXPECT_EQ(snapshot.sideEntries[0], 3);       // whiteCastling
    EXPECT_EQ(snapshot.sideEntries[5], 95);      // blackKingSquare
    makeMove(st, 0x001E1B19);
    makeMove(st, makeMoveWord(65, 86, kindCapture));
    restoreSnapshot(snapshot, st);
    EXPECT_EQ(std::memcmp(&st.position, &before, sizeof(Position)), 0);
}

TEST(Squares, OffBoardNumbers) {
    int playing = 0;
    for (int s = 0; s < 128; ++s) playing += !isOffBoard(s);
    EXPECT_EQ(playing, 64);
    for (int s : {0, 20, 29, 30, 99, 100, 127}) EXPECT_TRUE(isOffBoard(s)) << s;
    for (int s : {21, 28, 31, 55, 91, 98}) EXPECT_FALSE(isOffBoard(s)) << s;
}

}  // namespace
