// Reading back what is written is checked on every generated move by the fuzz harness.
#include <gtest/gtest.h>

#include <string>

#include "tamblorbasis/tamblorbasis.h"

namespace {

// `white` false: the stored board is the game board turned round (the engine plays Black).
TEST(MoveText, MovesToTextInBothOrientations) {
    const struct { Move move; bool white; const char* plain; const char* thinking; } cases[] = {
        {makeMoveWord(35, 55, kindQuiet), true, "E2E4", "e2e4"},
        {makeMoveWord(35, 55, kindQuiet), false, "E7E5", "e7e5"},
        {makeMoveWord(55, 64, kindCapture), true, "E4D5", "e4xd5"},
        {makeMoveWord(65, 74, kindEnPassant), true, "E5D6", "e5xd6"},
        {makeMoveWord(25, 27, kindCastling), true, "E1G1", "e1g1"},
        // The promotion letter stays upper case; a capturing promotion needs six characters.
        {makeMoveWord(87, 98, kindCapture, whiteQueen), true, "G7H8Q", "g7xh8Q"},
        {makeMoveWord(87, 98, kindCapture, whiteQueen), false, "G2H1Q", "g2xh1Q"},
        {makeMoveWord(85, 95, kindQuiet, whiteKnight), true, "E7E8N", "e7e8N"},
        {makeMoveWord(35, 25, kindQuiet, blackRook), false, "E7E8R", "e7e8R"},
        {makeMoveWord(85, 95, kindQuiet, whiteKing), true, "E7E8", "e7e8"},  // no such promotion
        {nullMove, true, "NULL", "NULL"},
        {makeMoveWord(30, 55, kindCapture), true, "99E4", "99E4"},  // a frame square
    };
    for (const auto& c : cases) {
        EXPECT_EQ(moveToText(c.move, c.white).view(), c.plain) << c.plain;
        EXPECT_EQ(moveToThinkingText(c.move, c.white).view(), c.thinking) << c.plain;
    }
}

TEST(MoveText, TextToSquaresAndMoves) {
    EXPECT_EQ(squareFromText(" e 2\n", true), 35);
    EXPECT_EQ(squareFromText("A1", false), 91);
    // "K1" is 8 files past C and must not wrap into the next rank.
    for (const char* bad : {"", "E", "E22", "I1", "K1", "@1", "A9", "A0", "99", "1A"}) {
        EXPECT_EQ(squareFromText(bad, true), 0) << bad;
        EXPECT_EQ(squareFromText(bad, false), 0) << bad;
    }
    EXPECT_EQ(textToMove(true, " e2 E4 ", true), makeMoveWord(35, 55, kindQuiet));
    EXPECT_EQ(textToMove(false, "e1g1", false), makeMoveWord(95, 97, kindQuiet));  // castling text
    // The last character gives the promotion, in the mover's colour.
    EXPECT_EQ(textToMove(true, "e7e8=Q", true), makeMoveWord(85, 95, kindQuiet, whiteQueen));
    EXPECT_EQ(textToMove(false, "e2e1r", false), makeMoveWord(85, 95, kindQuiet, blackRook));
    EXPECT_EQ(textToMove(true, "e7e8x", true), makeMoveWord(85, 95, kindQuiet));
    for (const char* bad : {"", "e2e", "e2-e4", "O-O", "0-0", "e2e9", "i2e4", "NULL"})
        EXPECT_EQ(textToMove(true, bad, true), nullMove) << bad;
}

}  // namespace
