#include <gtest/gtest.h>

#include <string>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

std::string text(std::string_view view) { return std::string(view); }

TEST(NormaliseLine, DropsBlanksAndControlsAndUpperCasesLetters) {
    EXPECT_EQ(text(normaliseLine("usermove e2e4\r")), "USERMOVEE2E4");
    EXPECT_EQ(text(normaliseLine("\t set Board  \x01")), "SETBOARD");
    EXPECT_EQ(text(normaliseLine("e7e8=q {x}")), "E7E8=Q{X}");
    EXPECT_EQ(text(normaliseLine("")), "");
    // Bytes above 127 are characters like any other.
    EXPECT_EQ(text(normaliseLine("a\xE9z")), "A\xE9Z");
}

TEST(NormaliseLine, CutsAt255Characters) {
    const std::string longLine(300, 'a');
    const LineText line = normaliseLine(longLine);
    EXPECT_EQ(line.length, 255);
    EXPECT_EQ(text(line), std::string(255, 'A'));
}

TEST(MoveToText, NamesSquaresInBothOrientations) {
    const Move e2e4 = makeMoveWord(35, 55, kindQuiet);
    const Move g7h8q = makeMoveWord(87, 98, kindCapture, whiteQueen);
    EXPECT_EQ(text(moveToText(e2e4, true)), "E2E4");
    EXPECT_EQ(text(moveToText(g7h8q, true)), "G7H8Q");
    EXPECT_EQ(text(moveToText(e2e4, false)), "E7E5");
    EXPECT_EQ(text(moveToText(g7h8q, false)), "G2H1Q");
    EXPECT_EQ(text(moveToText(makeMoveWord(21, 98, kindQuiet), true)), "A1H8");
    EXPECT_EQ(text(moveToText(makeMoveWord(21, 98, kindQuiet), false)), "A8H1");
}

TEST(MoveToText, NullMoveAndFrameSquares) {
    EXPECT_EQ(text(moveToText(nullMove, true)), "NULL");
    EXPECT_EQ(text(moveToText(nullMove, false)), "NULL");
    EXPECT_EQ(text(moveToText(makeMoveWord(30, 55, kindQuiet), true)), "99E4");
    EXPECT_EQ(text(moveToText(makeMoveWord(29, 55, kindQuiet), false)), "99E5");
    EXPECT_EQ(text(moveToText(makeMoveWord(0, 99, kindQuiet), true)), "9999");
    EXPECT_EQ(text(moveToText(makeMoveWord(35, 120, kindQuiet), true)), "E299");
    EXPECT_EQ(text(moveToText(listSentinel, true)), "9999");
}

TEST(MoveToText, PromotionLetterOnlyForPromotablePieces) {
    EXPECT_EQ(text(moveToText(makeMoveWord(85, 95, kindQuiet, whiteKnight), true)), "E7E8N");
    EXPECT_EQ(text(moveToText(makeMoveWord(35, 25, kindQuiet, blackBishop), true)), "E2E1B");
    EXPECT_EQ(text(moveToText(makeMoveWord(35, 25, kindQuiet, blackRook), false)), "E7E8R");
    EXPECT_EQ(text(moveToText(makeMoveWord(85, 95, kindQuiet, blackQueen), true)), "E7E8Q");
    EXPECT_EQ(text(moveToText(makeMoveWord(85, 95, kindQuiet, whiteKing), true)), "E7E8");
    EXPECT_EQ(text(moveToText(makeMoveWord(85, 95, kindQuiet, whitePawn), true)), "E7E8");
}

TEST(MoveToThinkingText, LowerCaseWithCaptureMark) {
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(55, 64, kindCapture), true)), "e4xd5");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(65, 74, kindEnPassant), true)), "e5xd6");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(25, 27, kindCastling), true)), "e1g1");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(25, 27, kindCastling), false)), "e8g8");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(35, 55, kindQuiet), false)), "e7e5");
    // The promotion letter stays upper case; a capturing promotion needs six characters.
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(85, 95, kindQuiet, whiteQueen), true)), "e7e8Q");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(85, 94, kindCapture, whiteKnight), true)), "e7xd8N");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(85, 94, kindCapture, whiteKnight), false)), "e2xd1N");
}

TEST(MoveToThinkingText, NullAndFrameTextsStayAsTheyAre) {
    EXPECT_EQ(text(moveToThinkingText(nullMove, true)), "NULL");
    EXPECT_EQ(text(moveToThinkingText(makeMoveWord(30, 55, kindCapture), true)), "99E4");
}

TEST(SquareFromText, ReadsNamesInBothOrientations) {
    EXPECT_EQ(squareFromText("E2", true), 35);
    EXPECT_EQ(squareFromText("E2", false), 85);
    EXPECT_EQ(squareFromText("e2", true), 35);
    EXPECT_EQ(squareFromText(" e 2\n", true), 35);
    EXPECT_EQ(squareFromText("A1", true), 21);
    EXPECT_EQ(squareFromText("A1", false), 91);
    EXPECT_EQ(squareFromText("H8", true), 98);
    EXPECT_EQ(squareFromText("H8", false), 28);
}

TEST(SquareFromText, RejectsWhatIsNotASquare) {
    for (const char* bad : {"", "E", "E22", "I1", "@1", "A9", "A0", "99", "E-", "1A"}) {
        EXPECT_EQ(squareFromText(bad, true), 0) << bad;
        EXPECT_EQ(squareFromText(bad, false), 0) << bad;
    }
    // A letter past h must not wrap into the next rank (K is 8 files past C).
    EXPECT_EQ(squareFromText("K1", true), 0);
    EXPECT_EQ(squareFromText("K0", true), 0);
    EXPECT_EQ(squareFromText("J8", false), 0);
}

TEST(TextToMove, ReadsCoordinateMoves) {
    const Move e2e4 = makeMoveWord(35, 55, kindQuiet);
    EXPECT_EQ(textToMove(true, "e2e4", true), e2e4);
    EXPECT_EQ(textToMove(false, "E2E4", true), e2e4);
    EXPECT_EQ(textToMove(true, " e2 e4 ", true), e2e4);
    EXPECT_EQ(textToMove(false, "e7e5", false), e2e4);
    EXPECT_EQ(textToMove(false, "e1g1", false), makeMoveWord(95, 97, kindQuiet));
}

TEST(TextToMove, PromotionFromTheLastCharacter) {
    EXPECT_EQ(textToMove(true, "e7e8q", true), makeMoveWord(85, 95, kindQuiet, whiteQueen));
    EXPECT_EQ(textToMove(true, "e7e8=Q", true), makeMoveWord(85, 95, kindQuiet, whiteQueen));
    EXPECT_EQ(textToMove(false, "e7e8n", true), makeMoveWord(85, 95, kindQuiet, blackKnight));
    EXPECT_EQ(movePromotion(textToMove(false, "e7e8n", true)), 6);
    EXPECT_EQ(textToMove(false, "e2e1r", false), makeMoveWord(85, 95, kindQuiet, blackRook));
    EXPECT_EQ(textToMove(true, "b7a8b", true), makeMoveWord(82, 91, kindQuiet, whiteBishop));
    EXPECT_EQ(textToMove(true, "e7e8x", true), makeMoveWord(85, 95, kindQuiet));
    EXPECT_EQ(textToMove(true, "e7e8qk", true), makeMoveWord(85, 95, kindQuiet));
}

TEST(TextToMove, RejectsWhatIsNotAMove) {
    for (const char* bad : {"", "e2", "e2e", "e2-e4", "O-O", "0-0", "e2e9", "i2e4", "NULL"})
        EXPECT_EQ(textToMove(true, bad, true), nullMove) << bad;
}

TEST(TextToMove, ReadsBackWhatMoveToTextWrites) {
    for (const bool white : {true, false})
        for (int from = 21; from <= 98; ++from)
            for (const int promotion : {0, 17, 5}) {
                if (from % 10 == 0 || from % 10 == 9) continue;
                const Move move = makeMoveWord(from, 119 - from, kindQuiet, promotion);  // mirrored square
                EXPECT_EQ(textToMove(true, moveToText(move, white), white), move) << from;
            }
}

}  // namespace
