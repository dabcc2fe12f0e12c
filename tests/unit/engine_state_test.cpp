#include <gtest/gtest.h>

#include "test_support.h"

namespace {

class EngineStateTables : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
};

TEST_F(EngineStateTables, TemplatesHoldTheFrameAndTheStartPosition) {
    const std::uint8_t* empty = positionBytes(st.emptyBoard);
    int playing = 0;
    for (int k = 0; k < 128; ++k) {
        if (k == 20 || k == 99)
            EXPECT_EQ(empty[k], scanEnd) << k;
        else if (empty[k] == 0)
            ++playing;
        else
            EXPECT_EQ(empty[k], border) << k;
    }
    EXPECT_EQ(playing, 64);
    const Position& p = st.startPosition;
    EXPECT_EQ(p.squares[20], scanEnd);
    EXPECT_EQ(p.squares[99], scanEnd);
    EXPECT_EQ(p.squares[21], whiteRook);
    EXPECT_EQ(p.squares[24], whiteQueen);
    EXPECT_EQ(p.squares[25], whiteKing);
    EXPECT_EQ(p.squares[94], blackQueen);
    EXPECT_EQ(p.squares[95], blackKing);
    EXPECT_EQ(p.squares[38], whitePawn);
    EXPECT_EQ(p.squares[81], blackPawn);
    EXPECT_EQ(p.whiteCastling, 3);
    EXPECT_EQ(p.blackCastling, 3);
    EXPECT_EQ(p.enPassantPawn, 0);
    EXPECT_EQ(p.spare123, border);
    EXPECT_EQ(p.whiteKingSquare, 25);
    EXPECT_EQ(p.blackKingSquare, 95);
    EXPECT_TRUE(st.enginePlaysWhite);
    EXPECT_FALSE(st.outputEnabled);
}

TEST_F(EngineStateTables, GeometryTables) {
    EXPECT_EQ(st.squareDistance[21][98], 7);
    EXPECT_EQ(st.squareDistance[25][36], 1);
    EXPECT_EQ(st.squareDistance[0][127], 12);
    EXPECT_EQ(st.inwardSquare[21], 32);
    EXPECT_EQ(st.inwardSquare[98], 87);
    EXPECT_EQ(st.inwardSquare[25], 35);
    EXPECT_EQ(st.inwardSquare[55], 55);
    EXPECT_EQ(st.queenDirection[21][98], 11);
    EXPECT_EQ(st.queenDirection[98][21], -11);
    EXPECT_EQ(st.queenDirection[21][28], 1);
    EXPECT_EQ(st.queenDirection[21][32], 11);
    EXPECT_EQ(st.queenDirection[21][33], 0);
    EXPECT_EQ(st.rookDirection[21][98], 0);
    EXPECT_EQ(st.rookDirection[21][91], 10);
    EXPECT_EQ(st.bishopDirection[21][91], 0);
    EXPECT_EQ(st.bishopDirection[21][98], 11);
    EXPECT_EQ(st.knightStep[21][42], 21);
    EXPECT_EQ(st.knightStep[21][23], 0);
    EXPECT_EQ(st.knightStep[21][13], -8);  // off the board, still written
    EXPECT_EQ(st.squareIndex[21], 0);
    EXPECT_EQ(st.squareIndex[28], 7);
    EXPECT_EQ(st.squareIndex[31], 8);
    EXPECT_EQ(st.squareIndex[98], 63);
    EXPECT_EQ(st.rankOf[0], -1);
    EXPECT_EQ(st.rankOf[15], 0);
    EXPECT_EQ(st.rankOf[98], 8);
    EXPECT_EQ(st.fileOf[98], 8);
    EXPECT_TRUE(st.isDarkSquare[21]);
    EXPECT_FALSE(st.isDarkSquare[22]);
    EXPECT_TRUE(st.isEdgeFile[31]);
    EXPECT_FALSE(st.isEdgeFile[32]);
}

TEST_F(EngineStateTables, PieceTables) {
    EXPECT_EQ(st.pieceSquare[17][24], 20);
    EXPECT_EQ(st.pieceSquare[18][94], -10);
    EXPECT_EQ(st.pieceSquare[5][91], -120);  // knight on a8: 2 x -60
    EXPECT_EQ(st.pieceSquare[6][21], -2 * -60);
    EXPECT_EQ(st.pieceSquare[1][55], 14);
    EXPECT_EQ(st.pieceSquare[2][65], -14);
    EXPECT_EQ(st.pieceSquare[13][81], 22);
    EXPECT_EQ(st.pieceSquare[14][31], -22);
    EXPECT_EQ(st.pieceSquare[21][21], -4);
    EXPECT_EQ(st.pieceSquare[22][91], 4);
    EXPECT_EQ(st.pieceSquare[9][20], 0);  // frame squares stay 0
    EXPECT_EQ(st.homeBonus[0], 20);
    EXPECT_EQ(st.homeBonus[1], -10);
    EXPECT_EQ(st.homeBonus[2], -12);
    EXPECT_EQ(st.homeBonus[3], -3);
    EXPECT_EQ(st.pieceValue[1], 95);
    EXPECT_EQ(st.pieceValue[6], 305);
    EXPECT_EQ(st.pieceValue[9], 310);
    EXPECT_EQ(st.pieceValue[14], 490);
    EXPECT_EQ(st.pieceValue[17], 925);
    EXPECT_EQ(st.pieceValue[0], 0);
    EXPECT_EQ(st.pieceClass[10], 2);
    EXPECT_EQ(st.pieceClass[22], 10);
    EXPECT_EQ(st.pieceClass[23], 0);
    EXPECT_TRUE(st.rayStopper[2]);
    EXPECT_TRUE(st.rayStopper[27]);
    EXPECT_FALSE(st.rayStopper[17]);
}

TEST_F(EngineStateTables, EvaluationSquareTables) {
    EXPECT_EQ(st.whiteWeakPawn[35], 28);
    EXPECT_EQ(st.whiteWeakPawn[25], 0);
    EXPECT_EQ(st.blackWeakPawn[85], 28);
    EXPECT_EQ(st.blackWeakPawn[25], 4);
    EXPECT_EQ(st.whiteBishopReach[105], 28);  // the frame row above rank 8
    EXPECT_EQ(st.whiteBishopReach[25], 0);
    EXPECT_EQ(st.blackBishopReach[15], 28);
    EXPECT_EQ(st.blackBishopReach[95], 0);
}

TEST_F(EngineStateTables, SquareMasks) {
    EXPECT_EQ(st.squareBit[21], 1u);
    EXPECT_EQ(st.squareBit[31], 2u);
    EXPECT_EQ(st.squareBit[22], 256u);
    EXPECT_EQ(st.squareBit[98], 1ULL << 63);
    EXPECT_EQ(st.whiteFrontSpan[35],
              st.squareBit[45] | st.squareBit[55] | st.squareBit[65] | st.squareBit[75] | st.squareBit[85]);
    EXPECT_EQ(st.blackFrontSpan[35], 0u);
    EXPECT_EQ(st.blackFrontSpan[55], st.squareBit[35] | st.squareBit[45]);
    EXPECT_EQ(st.whiteFrontSpan[88], 0u);
    EXPECT_EQ(st.pawnNeighbours[31], st.squareBit[22] | st.squareBit[32] | st.squareBit[42]);
    EXPECT_EQ(st.whiteSupport[55], st.squareBit[44] | st.squareBit[46] | st.squareBit[54] | st.squareBit[56]);
    EXPECT_EQ(st.blackSupport[55], st.squareBit[54] | st.squareBit[56] | st.squareBit[64] | st.squareBit[66]);
    EXPECT_EQ(st.whitePassedMask[38], st.whiteFrontSpan[38] | st.whiteFrontSpan[37]);
    EXPECT_EQ(st.blackPassedMask[84],
              st.blackFrontSpan[83] | st.blackFrontSpan[84] | st.blackFrontSpan[85]);
    EXPECT_EQ(st.pawnNeighbours[25], 0u);  // rank 1 has no entry
}

TEST_F(EngineStateTables, PositionKeysFollowTheGenerator) {
    EXPECT_EQ(st.positionKeys[0][0].high, 0x5873C520u);
    EXPECT_EQ(st.positionKeys[0][0].low, 0x748E46F6u);
    EXPECT_EQ(st.positionKeys[0][1].high, 0x761DC5A5u);
    EXPECT_EQ(st.positionKeys[0][1].low, 0x6764833Fu);
    std::uint64_t g = 1001;
    for (int i = 0; i < 12 * 64; ++i) g = nextKey(g);
    EXPECT_EQ(st.positionKeys[11][63].low, static_cast<std::uint32_t>(g));
    EXPECT_EQ(st.positionKeys[11][63].high, static_cast<std::uint32_t>(g >> 32));
}

}  // namespace
