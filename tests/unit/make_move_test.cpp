// Ordinary moves are proved by the perft counts; these are the special cases.
#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

class MakeMove : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    Position& p = st.position;

    // Game colours equal stored colours: the engine plays the side to move.
    void load(std::string_view fen) {
        const bool blackToMove = fen.find(" b ") != std::string_view::npos;
        ASSERT_TRUE(parsePositionText(blackToMove, fen, st)) << fen;
        ASSERT_TRUE(st.enginePlaysWhite);
    }
};

TEST_F(MakeMove, DoubleStepEntersEnPassantOnlyBesideAnEnemyPawn) {
    p = st.startPosition;
    makeMove(st, makeMoveWord(35, 55, kindQuiet));
    EXPECT_EQ(p.enPassantPawn, 0);

    load("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    makeMove(st, makeMoveWord(84, 64, kindQuiet));
    EXPECT_EQ(p.enPassantPawn, 64);
    // Taking it removes the pawn beside, not one on the to-square.
    EXPECT_EQ(makeMove(st, makeMoveWord(65, 74, kindEnPassant)), blackPawn);
    EXPECT_EQ(p.squares[64], emptySquare);
    EXPECT_EQ(p.squares[74], whitePawn);
}

TEST_F(MakeMove, CastlingMovesTheRook) {
    struct Castling {
        int kingFrom, kingTo, rookFrom, rookTo;
    };
    const Castling cases[] = {{25, 27, 28, 26}, {25, 23, 21, 24}, {95, 97, 98, 96}, {95, 93, 91, 94}};
    for (const Castling& c : cases) {
        load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
        const bool white = c.kingFrom == 25;
        makeMove(st, makeMoveWord(c.kingFrom, c.kingTo, kindCastling));
        const std::vector<int> squares = {p.squares[c.kingFrom], p.squares[c.kingTo],
                                          p.squares[c.rookFrom], p.squares[c.rookTo]};
        EXPECT_EQ(squares, (std::vector<int>{emptySquare, white ? whiteKing : blackKing, emptySquare,
                                             white ? whiteRook : blackRook}));
        EXPECT_EQ(white ? p.whiteKingSquare : p.blackKingSquare, c.kingTo);
    }
}

// Only the mover's rights, or the captured rook's, are touched.
TEST_F(MakeMove, CastlingRightsLostByKingOrRookMovesAndRookCaptures) {
    struct Rights {
        const char* fen;
        int from, to, kind;
        int white, black;  // rights left
    };
    const Rights cases[] = {
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 25, 26, kindQuiet, 0, 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 25, 27, kindCastling, 0, 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 95, 93, kindCastling, 3, 0},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 21, 31, kindQuiet, kingSideRight, 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 28, 38, kindQuiet, queenSideRight, 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 98, 88, kindQuiet, 3, queenSideRight},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 21, 91, kindCapture, kingSideRight, kingSideRight},
        {"r3k2r/8/8/8/8/5b2/8/R3K2R b KQkq - 0 1", 46, 28, kindCapture, queenSideRight, 3},
    };
    for (const Rights& c : cases) {
        load(c.fen);
        makeMove(st, makeMoveWord(c.from, c.to, c.kind));
        EXPECT_EQ(p.whiteCastling, c.white) << c.from << "-" << c.to;
        EXPECT_EQ(p.blackCastling, c.black) << c.from << "-" << c.to;
    }
}

TEST_F(MakeMove, PromotionPutsTheChosenPiece) {
    load("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    const Position before = p;
    EXPECT_EQ(makeMove(st, makeMoveWord(81, 92, kindCapture, whiteQueen)), blackRook);
    EXPECT_EQ(p.squares[92], whiteQueen);
    p = before;
    EXPECT_EQ(makeMove(st, makeMoveWord(81, 91, kindQuiet, whiteKnight)), 0);
    EXPECT_EQ(p.squares[91], whiteKnight);
}

TEST_F(MakeMove, NullMoveOnlyClearsEnPassant) {
    load("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    ASSERT_EQ(p.enPassantPawn, 64);
    Position expected = p;
    expected.enPassantPawn = 0;
    EXPECT_EQ(makeMove(st, nullMove), 0);
    EXPECT_EQ(std::memcmp(&p, &expected, sizeof(Position)), 0);
}

TEST_F(MakeMove, SnapshotRoundTripRestoresThePosition) {
    load("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
    const Position before = p;
    PositionSnapshot snapshot;
    saveSnapshot(snapshot, st);
    makeMove(st, makeMoveWord(25, 27, kindCastling));
    makeMove(st, makeMoveWord(65, 86, kindCapture));
    restoreSnapshot(snapshot, st);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof(Position)), 0);
}

}  // namespace
