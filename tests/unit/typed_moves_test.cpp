#include <gtest/gtest.h>

#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

class TypedMoves : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // The opponent's pieces are stored Black; its move text is read in the board's
    // orientation. Returns the matched word, or 0.
    Move matchOpponent(std::string_view text) {
        Move move = textToMove(false, text, st.enginePlaysWhite);
        if (move == nullMove || !matchGeneratedMove(move, false, st)) return nullMove;
        return move;
    }
    // The engine's own (stored White) move, as the game rebuild replays it.
    Move matchEngine(std::string_view text) {
        Move move = textToMove(true, text, st.enginePlaysWhite);
        if (move == nullMove || !matchGeneratedMove(move, true, st)) return nullMove;
        return move;
    }
};

TEST_F(TypedMoves, OpponentReplyInTheStartPosition) {
    st.position = st.startPosition;
    st.enginePlaysWhite = true;
    EXPECT_EQ(matchOpponent("e7e5"), makeMoveWord(85, 65, kindQuiet));
    EXPECT_EQ(matchOpponent("g8f6"), makeMoveWord(97, 76, kindQuiet));
    EXPECT_EQ(matchOpponent("e7e4"), nullMove);
    EXPECT_EQ(matchOpponent("e7e5q"), nullMove);  // a letter after a move that is no promotion
    EXPECT_EQ(matchEngine("e7e5"), nullMove);     // not a White move

    const Move typed = textToMove(false, "e7e4", true);
    Move move = typed;
    EXPECT_FALSE(matchGeneratedMove(move, false, st));
    EXPECT_EQ(move, typed);  // left as it was
}

TEST_F(TypedMoves, CapturesGetKindCaptureOrEnPassant) {
    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/3p4/4P3/8/8/4K3 b - - 0 1", st));
    ASSERT_TRUE(st.enginePlaysWhite);
    EXPECT_EQ(matchOpponent("d5e4"), makeMoveWord(64, 55, kindCapture));
    EXPECT_EQ(matchOpponent("d5d4"), makeMoveWord(64, 54, kindQuiet));

    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/8/2Pp4/8/8/4K3 b - c3 0 1", st));
    ASSERT_EQ(st.position.enPassantPawn, 53);
    EXPECT_EQ(matchOpponent("d4c3"), makeMoveWord(54, 43, kindEnPassant));
    EXPECT_EQ(matchOpponent("d4d3"), makeMoveWord(54, 44, kindQuiet));
}

TEST_F(TypedMoves, CastlingMatchesEvenInCheck) {
    ASSERT_TRUE(parsePositionText(true, "r3k2r/8/8/8/8/8/8/4R1K1 b kq - 0 1", st));
    EXPECT_EQ(matchOpponent("e8g8"), makeMoveWord(95, 97, kindCastling));
    EXPECT_EQ(matchOpponent("e8c8"), 0x001E5D5Fu);
}

TEST_F(TypedMoves, KingStepOntoAnAttackedSquareIsAccepted) {
    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/8/8/8/8/3RK3 b - - 0 1", st));
    EXPECT_EQ(matchOpponent("e8d8"), makeMoveWord(95, 94, kindQuiet));
}

TEST_F(TypedMoves, PromotionNeedsItsLetterOnTheMirroredBoard) {
    // The opponent plays the game's White: its e7 pawn is stored as a Black pawn on 35.
    ASSERT_TRUE(parsePositionText(true, "3k4/4P3/8/8/8/8/8/K7 w - - 0 1", st));
    ASSERT_FALSE(st.enginePlaysWhite);
    ASSERT_EQ(st.position.squares[35], blackPawn);
    EXPECT_EQ(matchOpponent("e7e8"), nullMove);
    EXPECT_EQ(matchOpponent("e7e8q"), makeMoveWord(35, 25, kindQuiet, blackQueen));
    EXPECT_EQ(matchOpponent("e7e8n"), makeMoveWord(35, 25, kindQuiet, blackKnight));
}

TEST_F(TypedMoves, CapturingPromotionOfTheEngine) {
    ASSERT_TRUE(parsePositionText(false, "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", st));
    EXPECT_EQ(matchEngine("a7b8q"), makeMoveWord(81, 92, kindCapture, whiteQueen));
    EXPECT_EQ(matchEngine("a7b8r"), makeMoveWord(81, 92, kindCapture, whiteRook));
    EXPECT_EQ(matchEngine("a7a8b"), makeMoveWord(81, 91, kindQuiet, whiteBishop));
    EXPECT_EQ(matchEngine("a7b8"), nullMove);
}

}  // namespace
