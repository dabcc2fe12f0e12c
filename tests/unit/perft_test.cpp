#include <gtest/gtest.h>

#include "tamblorbasis/perft.h"
#include "test_support.h"

namespace {

TEST(Perft, StartPositionCounts) {
    auto state = makeEngineState();
    EngineState& st = *state;
    st.position = st.startPosition;
    preparePerftRoot(st, true);
    EXPECT_EQ(perft(st, 1), 20u);
    EXPECT_EQ(perft(st, 2), 400u);
    EXPECT_EQ(perft(st, 3), 8902u);
    EXPECT_EQ(perft(st, 4), 197281u);
    EXPECT_EQ(perft(st, 5), 4865609u);
}

}  // namespace

#include "legal_moves.h"

namespace {

TEST(LegalMovesHelper, StartPositionAndAfterwards) {
    auto state = makeEngineState();
    EngineState& st = *state;
    st.position = st.startPosition;
    EXPECT_EQ(legalMoves(st, true).size(), 20u);
    EXPECT_EQ(legalMoves(st, false).size(), 20u);
    std::mt19937 random(7);
    bool whiteToMove = true;
    const std::vector<Move> played = playRandomLegalMoves(st, whiteToMove, 40, random);
    EXPECT_FALSE(played.empty());
}

}  // namespace
