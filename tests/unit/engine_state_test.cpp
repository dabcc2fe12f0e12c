#include <gtest/gtest.h>

#include "test_support.h"

namespace {

class EngineStateTables : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    std::uint64_t key(int piece, int square) const {
        return (std::uint64_t{st.positionKeys[piece][square].high} << 32) | st.positionKeys[piece][square].low;
    }
};

TEST_F(EngineStateTables, EmptyBoardHoldsTheFrame) {
    // 64 empty playing squares; scan ends on 20 and 99; border on every other entry.
    const std::uint8_t* empty = positionBytes(st.emptyBoard);
    int playing = 0;
    for (int k = 0; k < 128; ++k) {
        if (empty[k] == 0) ++playing;
        else EXPECT_EQ(empty[k], k == 20 || k == 99 ? scanEnd : border) << k;
    }
    EXPECT_EQ(playing, 64);
    // The start position is checked whole against its set-up text in the set-up tests.
}

TEST_F(EngineStateTables, SampleEntries) {
    const struct { int got, want; const char* what; } cases[] = {
        {st.squareDistance[21][98], 7, "distance a1-h8"},
        {st.squareDistance[0][127], 12, "distance over the frame"},
        {st.inwardSquare[21], 32, "inward a1"},
        {st.inwardSquare[55], 55, "inward e4"},
        {st.queenDirection[21][98], 11, "queen a1-h8"},
        {st.queenDirection[98][21], -11, "queen h8-a1"},
        {st.queenDirection[21][33], 0, "queen a1-c2"},
        {st.knightStep[21][42], 21, "knight a1-b3"},
        {st.pieceSquare[17][24], 20, "queen d1"},
        {st.pieceSquare[18][94], -10, "black queen d8"},
        {st.pieceSquare[5][91], -120, "knight a8"},
        {st.pieceValue[17], 925, "queen value"},
        {st.whiteWeakPawn[35], 28, "weak pawn e2"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST_F(EngineStateTables, SquareMasks) {
    const auto bit = [&](int square) { return st.squareBit[square]; };
    EXPECT_EQ(bit(31), 2u);
    EXPECT_EQ(bit(22), 256u);
    EXPECT_EQ(st.whiteFrontSpan[35], bit(45) | bit(55) | bit(65) | bit(75) | bit(85));
    EXPECT_EQ(st.blackFrontSpan[55], bit(35) | bit(45));
    EXPECT_EQ(st.pawnNeighbours[31], bit(22) | bit(32) | bit(42));
    EXPECT_EQ(st.whiteSupport[55], bit(44) | bit(46) | bit(54) | bit(56));
    EXPECT_EQ(st.blackSupport[55], bit(54) | bit(56) | bit(64) | bit(66));
    EXPECT_EQ(st.whitePassedMask[38], st.whiteFrontSpan[38] | st.whiteFrontSpan[37]);
    EXPECT_EQ(st.blackPassedMask[84], st.blackFrontSpan[83] | st.blackFrontSpan[84] | st.blackFrontSpan[85]);
}

TEST_F(EngineStateTables, PositionKeysFollowTheGenerator) {
    EXPECT_EQ(key(0, 0), 0x5873C520748E46F6ull);
    EXPECT_EQ(key(0, 1), 0x761DC5A56764833Full);
    // The last key: 768 steps from the seed, so none is skipped or drawn twice.
    std::uint64_t g = 1001;
    for (int i = 0; i < 12 * 64; ++i) g = nextKey(g);
    EXPECT_EQ(key(11, 63), g);
}

}  // namespace
