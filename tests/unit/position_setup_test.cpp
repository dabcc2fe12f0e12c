#include <gtest/gtest.h>

#include <cstring>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

constexpr const char* startText = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* startBlackText = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1";

class PositionSetup : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    Position& p = st.position;

    // Every one of the 128 bytes, so stray writes into the frame or spare entries show.
    void expectSamePosition(const Position& expected) {
        const std::uint8_t* want = positionBytes(expected);
        const std::uint8_t* got = positionBytes(p);
        for (int k = 0; k < 128; ++k) EXPECT_EQ(got[k], want[k]) << "entry " << k;
    }
    // emptyBoard with the reader's cleared side entries: the base every set-up starts from.
    Position clearedBoard() {
        Position board = st.emptyBoard;
        board.whiteCastling = board.blackCastling = board.enPassantPawn = 0;
        return board;
    }
};

TEST_F(PositionSetup, StartPositionWithWhiteToMove) {
    st.enginePlaysWhite = false;
    ASSERT_TRUE(parsePositionText(false, startText, st));
    expectSamePosition(st.startPosition);
    EXPECT_TRUE(st.enginePlaysWhite);
}

TEST_F(PositionSetup, StartPositionWithBlackToMoveHasTheSameStoredSquares) {
    ASSERT_TRUE(parsePositionText(false, startBlackText, st));
    expectSamePosition(st.startPosition);
    EXPECT_FALSE(st.enginePlaysWhite);
}

TEST_F(PositionSetup, OpponentToMoveInvertsTheOrientation) {
    ASSERT_TRUE(parsePositionText(true, startText, st));
    expectSamePosition(st.startPosition);
    EXPECT_FALSE(st.enginePlaysWhite);
    ASSERT_TRUE(parsePositionText(true, startBlackText, st));
    expectSamePosition(st.startPosition);
    EXPECT_TRUE(st.enginePlaysWhite);
}

TEST_F(PositionSetup, WithoutSideLetterNothingChanges) {
    for (const bool playsWhite : {true, false}) {
        st.enginePlaysWhite = playsWhite;
        p = st.emptyBoard;
        p.squares[55] = whiteQueen;
        const Position before = p;
        for (const char* text : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR KQkq - 0 1",
                                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w",
                                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  b", "", "w", " W KQ"}) {
            EXPECT_FALSE(parsePositionText(false, text, st)) << text;
            EXPECT_FALSE(parsePositionText(true, text, st)) << text;
            expectSamePosition(before);
            EXPECT_EQ(st.enginePlaysWhite, playsWhite);
        }
    }
}

TEST_F(PositionSetup, WhiteToMoveIsFoundBeforeBlackToMove) {
    // " w " wins even when a " b " comes first; that "b" is then a bishop of the placement.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/8/8/8/8/4K b w - -", st));
    EXPECT_TRUE(st.enginePlaysWhite);
    EXPECT_EQ(p.squares[26], blackBishop);
}

TEST_F(PositionSetup, PieceOffTheBoardFails) {
    for (const bool opponent : {false, true}) {
        EXPECT_FALSE(parsePositionText(opponent, "8/8/8/8/8/8/8/8/K7 w - - 0 1", st));  // a ninth rank
        EXPECT_FALSE(parsePositionText(opponent, "8/8/8/8/8/8/8/8/K7 b - - 0 1", st));
        EXPECT_FALSE(parsePositionText(opponent, "rnbqkbnrp/8/8/8/8/8/8/4K3 w - - 0 1", st));  // a ninth file
        EXPECT_FALSE(parsePositionText(opponent, "4k3/8/8/8/8/8/8/8K w - - 0 1", st));
        EXPECT_FALSE(parsePositionText(opponent, "4k3/8/8/8/8/8/8/88888888888888K b - - 0 1", st));
        EXPECT_FALSE(parsePositionText(opponent, "4k3//////////////K w - - 0 1", st));
    }
    // Digits alone may carry the cursor into the next rank; only the landing square counts.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/8/8/8/8/88888888K w - - 0 1", st));
    EXPECT_EQ(p.squares[85], whiteKing);
    EXPECT_EQ(p.whiteKingSquare, 85);
    // An empty ninth rank places nothing off the board and is accepted.
    EXPECT_TRUE(parsePositionText(false, "4k3/8/8/8/8/8/8/4K3/8 w - - 0 1", st));
}

TEST_F(PositionSetup, ShortRanksAndStrayCharacters) {
    ASSERT_TRUE(parsePositionText(false, "k/8/8/8/8/8/8/K w - - 0 1", st));
    Position want = clearedBoard();
    want.squares[91] = blackKing;
    want.squares[21] = whiteKing;
    want.whiteKingSquare = 21;
    want.blackKingSquare = 91;
    expectSamePosition(want);

    // "0", "9", blanks and other letters move nothing.
    ASSERT_TRUE(parsePositionText(false, "k0x 9/8/8/8/8/8/8/K w - - 0 1", st));
    expectSamePosition(want);
}

TEST_F(PositionSetup, BlackToMoveTurnsTheBoardAndExchangesColours) {
    ASSERT_TRUE(parsePositionText(false, "4k3/1p6/8/8/8/8/6N1/R3K3 b Q - 0 1", st));
    EXPECT_FALSE(st.enginePlaysWhite);
    Position want = clearedBoard();
    want.squares[25] = whiteKing;   // game e8
    want.squares[32] = whitePawn;   // game b7
    want.squares[87] = blackKnight; // game g2
    want.squares[91] = blackRook;   // game a1
    want.squares[95] = blackKing;   // game e1
    want.whiteKingSquare = 25;
    want.blackKingSquare = 95;
    want.blackCastling = queenSideRight;  // the game's White right
    expectSamePosition(want);
}

TEST_F(PositionSetup, CastlingLettersGoToTheStoredSides) {
    ASSERT_TRUE(parsePositionText(false, "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, kingSideRight);
    EXPECT_EQ(p.blackCastling, queenSideRight);
    ASSERT_TRUE(parsePositionText(false, "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, queenSideRight);
    EXPECT_EQ(p.blackCastling, kingSideRight);
    // Letters count anywhere behind the side letter.
    ASSERT_TRUE(parsePositionText(false, "r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1 Q", st));
    EXPECT_EQ(p.whiteCastling, queenSideRight);
    EXPECT_EQ(p.blackCastling, 0);
}

TEST_F(PositionSetup, NoCastlingLettersAndNoEnPassant) {
    ASSERT_TRUE(parsePositionText(false, "r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", st));
    EXPECT_EQ(p.whiteCastling, 0);
    EXPECT_EQ(p.blackCastling, 0);
    EXPECT_EQ(p.enPassantPawn, 0);
}

TEST_F(PositionSetup, CastlingRightsNeedKingAndRookAtHome) {
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/8/8/8/8/4K2R w KQkq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, kingSideRight);
    EXPECT_EQ(p.blackCastling, 0);
    ASSERT_TRUE(parsePositionText(false, "r2k3r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, 0);
    EXPECT_EQ(p.blackCastling, 0);
    // A rook of the other colour on the home square does not count.
    ASSERT_TRUE(parsePositionText(false, "R3k2r/8/8/8/8/8/8/r3K2R w KQkq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, kingSideRight);
    EXPECT_EQ(p.blackCastling, kingSideRight);
    // Turned round: the game's Black king e8 and rook a8 are the stored White ones on 25 and 21.
    ASSERT_TRUE(parsePositionText(false, "r3k3/8/8/8/8/8/8/4K2R b KQkq - 0 1", st));
    EXPECT_EQ(p.whiteCastling, queenSideRight);
    EXPECT_EQ(p.blackCastling, kingSideRight);
}

TEST_F(PositionSetup, EnPassantWithEngineToMove) {
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", st));
    EXPECT_TRUE(st.enginePlaysWhite);
    EXPECT_EQ(p.enPassantPawn, 64);
    // Turned round: the game's White pawn e4 stands on stored 65, passed over e3.
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", st));
    EXPECT_FALSE(st.enginePlaysWhite);
    EXPECT_EQ(p.squares[65], blackPawn);
    EXPECT_EQ(p.squares[64], whitePawn);
    EXPECT_EQ(p.enPassantPawn, 65);
}

TEST_F(PositionSetup, EnPassantWithOpponentToMove) {
    // The engine plays the side not to move: its pawn is the one that just advanced.
    ASSERT_TRUE(parsePositionText(true, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", st));
    EXPECT_FALSE(st.enginePlaysWhite);
    EXPECT_EQ(p.squares[54], whitePawn);
    EXPECT_EQ(p.squares[55], blackPawn);
    EXPECT_EQ(p.enPassantPawn, 54);
    ASSERT_TRUE(parsePositionText(true, "rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", st));
    EXPECT_TRUE(st.enginePlaysWhite);
    EXPECT_EQ(p.enPassantPawn, 55);
}

TEST_F(PositionSetup, EnPassantCandidatesAndNames) {
    const char* bothSides = "4k3/8/8/3pPp2/8/8/8/4K3 w - %s 0 1";
    auto read = [&](const char* field) {
        char text[80];
        std::snprintf(text, sizeof text, bothSides, field);
        EXPECT_TRUE(parsePositionText(false, text, st));
        return static_cast<int>(p.enPassantPawn);
    };
    EXPECT_EQ(read("d6"), 64);
    EXPECT_EQ(read("f6"), 66);
    EXPECT_EQ(read("-"), 0);
    EXPECT_EQ(read("e6"), 0);   // no pawn to take there
    EXPECT_EQ(read("D6"), 0);   // the name is looked for in lower case
    EXPECT_EQ(read("f6d6"), 64);  // the first candidate by file wins
    // A pawn with no enemy pawn beside it is no candidate.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/3p4/8/8/8/4K3 w - d6 0 1", st));
    EXPECT_EQ(p.enPassantPawn, 0);
    // A piece on the square passed over leaves no capture to make.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", st));
    EXPECT_EQ(p.enPassantPawn, 0);
    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/8/3pP3/4N3/8/4K3 b - e3 0 1", st));
    EXPECT_EQ(p.enPassantPawn, 0);
    // The opponent's pawns are not candidates when the engine is to move.
    ASSERT_TRUE(parsePositionText(false, "4k3/8/8/8/3pP3/8/8/4K3 w - e3 0 1", st));
    EXPECT_EQ(p.enPassantPawn, 0);
}

TEST_F(PositionSetup, EpdOperationsAreIgnored) {
    ASSERT_TRUE(parsePositionText(false, startText, st));
    const Position plain = p;
    for (const char* text : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1;bm e4",
                             "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 bm Nf3",
                             "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 am Nf3; bm d4;"}) {
        ASSERT_TRUE(parsePositionText(false, text, st)) << text;
        expectSamePosition(plain);
    }
    // Letters inside the operations would otherwise count as castling or en passant.
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - bm Kd2", st));
    EXPECT_EQ(p.whiteCastling, 0);
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - ; id \"Qk\"", st));
    EXPECT_EQ(p.whiteCastling, 0);
    EXPECT_EQ(p.blackCastling, 0);
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq - am d6", st));
    EXPECT_EQ(p.enPassantPawn, 0);
}

TEST_F(PositionSetup, KingEntriesFollowThePlacedKings) {
    ASSERT_TRUE(parsePositionText(false, "8/8/8/8/8/8/8/4K3 w - - 0 1", st));
    EXPECT_EQ(p.whiteKingSquare, 25);
    EXPECT_EQ(p.blackKingSquare, st.emptyBoard.blackKingSquare);
    ASSERT_TRUE(parsePositionText(false, "8/8/8/8/8/8/8/4K3 b - - 0 1", st));
    EXPECT_EQ(p.blackKingSquare, 95);
    EXPECT_EQ(p.whiteKingSquare, st.emptyBoard.whiteKingSquare);
}

class PlayablePosition : public PositionSetup {
protected:
    bool playable(const char* text, bool opponentToMove = false) {
        EXPECT_TRUE(parsePositionText(opponentToMove, text, st)) << text;
        return isPlayablePosition(st, !opponentToMove);
    }
};

TEST_F(PlayablePosition, AcceptsOrdinaryPositions) {
    EXPECT_TRUE(playable(startText));
    EXPECT_TRUE(playable(startBlackText));
    EXPECT_TRUE(playable(startText, true));
    EXPECT_TRUE(playable("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
}

TEST_F(PlayablePosition, NeedsExactlyOneKingEach) {
    EXPECT_FALSE(playable("8/8/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/8/8/8/8/8 b - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/8/8/8/8/K3K3 w - - 0 1"));
    EXPECT_FALSE(playable("k3k3/8/8/8/8/8/8/4K3 b - - 0 1"));
}

TEST_F(PlayablePosition, NoPawnOnTheFirstOrLastRank) {
    EXPECT_FALSE(playable("P3k3/8/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/8/8/8/8/4K2p b - - 0 1"));
    EXPECT_FALSE(playable("4k2p/8/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/8/8/8/8/P3K3 b - - 0 1"));
    EXPECT_TRUE(playable("4k3/P7/8/8/8/8/7p/4K3 w - - 0 1"));
}

TEST_F(PlayablePosition, AtMostSixteenPiecesASide) {
    EXPECT_TRUE(playable("4k3/8/8/PPPPPPPP/PPPPPPP1/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/PPPPPPPP/PPPPPPPP/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(playable("4k3/8/8/pppppppp/pppppppp/8/8/4K3 b - - 0 1"));
    EXPECT_TRUE(playable("qqqqkqqq/qqqqqqqq/8/8/8/8/8/4K3 w - - 0 1", true));
    EXPECT_FALSE(playable("qqqqkqqq/qqqqqqqq/q7/8/8/8/8/4K3 w - - 0 1", true));
}

}  // namespace
