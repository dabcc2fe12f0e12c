#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "legal_moves.h"
#include "tamblorbasis/perft.h"
#include "test_support.h"

namespace {

struct PerftCase {
    const char* fen;
    int depth;
    std::uint64_t nodes;
};

// Published leaf counts: they exercise castling rights, en passant, promotions, pins
// and checks.
const PerftCase perftCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, 4865609},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
};

std::uint64_t countFromText(const char* fen, int depth, bool engineNotToMove) {
    auto state = makeEngineState();
    EngineState& st = *state;
    EXPECT_TRUE(parsePositionText(engineNotToMove, fen, st)) << fen;
    preparePerftRoot(st, !engineNotToMove);
    return perft(st, depth);
}

class PublishedCounts : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PublishedCounts, EngineToMove) {
    const PerftCase& c = GetParam();
    EXPECT_EQ(countFromText(c.fen, c.depth, false), c.nodes) << c.fen;
}

// The same tree with the board turned over: stored Black moves first from an even ply.
TEST_P(PublishedCounts, EngineNotToMove) {
    const PerftCase& c = GetParam();
    EXPECT_EQ(countFromText(c.fen, c.depth, true), c.nodes) << c.fen;
}

INSTANTIATE_TEST_SUITE_P(Perft, PublishedCounts, ::testing::ValuesIn(perftCases));

// The divide sums to the count, and the random-game helper finds the same root moves
// in the same order, for either stored side to move.
TEST(Perft, DivideAndLegalMovesHelperAgree) {
    using Divide = std::pair<std::vector<Move>, std::uint64_t>;  // root moves, summed counts
    auto state = makeEngineState();
    EngineState& st = *state;
    for (bool engineToMove : {true, false}) {
        ASSERT_TRUE(parsePositionText(!engineToMove, perftCases[1].fen, st));
        preparePerftRoot(st, engineToMove);
        Divide divide;
        EXPECT_EQ(perftDivide(st, 3, [](Move move, std::uint64_t nodes, void* context) {
                      auto* d = static_cast<Divide*>(context);
                      d->first.push_back(move);
                      d->second += nodes;
                  }, &divide), 97862u);
        EXPECT_EQ(divide.second, 97862u);
        EXPECT_EQ(divide.first.size(), 48u);
        EXPECT_EQ(legalMoves(st, engineToMove), divide.first);
    }
}

// In check at the root, only the in-check flag set up here makes the pin-only test safe.
TEST(Perft, RootInCheck) {
    auto state = makeEngineState();
    EngineState& st = *state;
    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/8/8/8/3n4/4R1K1 b - - 0 1", st));
    preparePerftRoot(st, false);
    EXPECT_EQ(perft(st, 1), 5u);  // Kd8 Kf8 Kd7 Kf7 and Ne4 blocking
    EXPECT_EQ(legalMoves(st, false).size(), 5u);
}

}  // namespace
