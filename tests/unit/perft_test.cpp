#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
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

TEST(Perft, ShallowCountsAndRootInCheck) {
    auto state = makeEngineState();
    EngineState& st = *state;
    st.position = st.startPosition;
    preparePerftRoot(st, true);
    EXPECT_EQ(st.ply, 1);
    EXPECT_EQ(st.plyInfo[2].inCheck, 0);
    EXPECT_EQ(perft(st, 0), 1u);
    EXPECT_EQ(perft(st, 1), 20u);
    EXPECT_EQ(perft(st, 3), 8902u);

    // Black in check at the root: only the in-check flag makes the pin-only test safe.
    ASSERT_TRUE(parsePositionText(true, "4k3/8/8/8/8/8/3n4/4R1K1 b - - 0 1", st));
    preparePerftRoot(st, false);
    EXPECT_EQ(st.ply, 2);
    EXPECT_EQ(st.plyInfo[3].inCheck, 1);
    EXPECT_EQ(perft(st, 1), 5u);  // Kd8 Kf8 Kd7 Kf7 and Ne4 blocking
}

TEST(Perft, EnPassantUncoveringTheKingIsNotCounted) {
    // Without the full test for en passant, exd6 would be counted at the root.
    EXPECT_EQ(countFromText("K6k/8/8/3pP3/8/8/8/7b w - d6 0 1", 1, false), 4u);
    EXPECT_EQ(countFromText("K6k/8/8/3pP3/8/8/8/7b w - d6 0 1", 3, true), 166u);
    EXPECT_EQ(countFromText("7k/8/8/8/3Pp3/8/8/K6B b - d3 0 1", 3, false), 223u);
}

struct DivideCollector {
    std::vector<Move> moves;
    std::uint64_t sum = 0;
};

void collect(Move move, std::uint64_t nodes, void* context) {
    auto* c = static_cast<DivideCollector*>(context);
    c->moves.push_back(move);
    c->sum += nodes;
}

TEST(Perft, DivideSplitsTheCountByRootMove) {
    auto state = makeEngineState();
    EngineState& st = *state;
    ASSERT_TRUE(parsePositionText(false, perftCases[1].fen, st));
    preparePerftRoot(st, true);
    DivideCollector c;
    EXPECT_EQ(perftDivide(st, 3, collect, &c), 97862u);
    EXPECT_EQ(c.sum, 97862u);
    EXPECT_EQ(c.moves.size(), 48u);
    EXPECT_EQ(legalMoves(st, true), c.moves);  // the helper finds the same moves, same order
}

TEST(LegalMovesHelper, RandomGamesStayConsistent) {
    auto state = makeEngineState();
    EngineState& st = *state;
    std::mt19937 random(12345);
    for (int game = 0; game < 20; ++game) {
        st.position = st.startPosition;
        bool whiteToMove = true;
        const std::vector<Move> played = playRandomLegalMoves(st, whiteToMove, 120, random);
        ASSERT_FALSE(played.empty());
        // The mover's king is never left attacked and the king entries follow the kings.
        const Position& p = st.position;
        EXPECT_EQ(p.squares[p.whiteKingSquare], whiteKing);
        EXPECT_EQ(p.squares[p.blackKingSquare], blackKing);
        EXPECT_FALSE(isSquareAttacked(st, whiteToMove ? p.blackKingSquare : p.whiteKingSquare,
                                      whiteToMove));
        // The helper's count agrees with the leaf counter's at depth 1.
        preparePerftRoot(st, whiteToMove);
        EXPECT_EQ(perft(st, 1), legalMoves(st, whiteToMove).size());
    }
}

}  // namespace
