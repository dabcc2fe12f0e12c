#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "legal_moves.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

// Random legal games from positions rich in castling, en passant and promotions, read
// with either side of the text as the engine: the key carried move by move must stay
// the key computed from scratch.
TEST(PositionKeys, IncrementalKeyEqualsTheKeyFromScratchAfterEveryMove) {
    auto state = makeEngineState();
    EngineState& st = *state;
    std::mt19937 random(20240611);
    const std::string texts[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    };
    int moves = 0, nullMoves = 0, kinds[kindSentinel] = {}, promotions[23] = {};
    for (const std::string& text : texts)
        for (bool opponentToMove : {false, true})
            for (int game = 0; game < 12; ++game) {
                ASSERT_TRUE(parsePositionText(opponentToMove, text, st)) << text;
                bool whiteToMove = !opponentToMove;  // the stored White is the engine
                NodeState node{};
                computeKey(node, st);
                for (int ply = 0; ply < 80; ++ply) {
                    const std::vector<Move> legal = legalMoves(st, whiteToMove);
                    if (legal.empty()) break;
                    std::vector<Move> rare;
                    for (Move m : legal)
                        if (moveKind(m) == kindCastling || moveKind(m) == kindEnPassant || movePromotion(m) != 0)
                            rare.push_back(m);
                    // Take the rare moves half of the time they are offered, so all of them occur.
                    const std::vector<Move>& pool = !rare.empty() && random() % 2 == 0 ? rare : legal;
                    Move move = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
                    // Now and then a null move: it changes no piece, so the key must stay.
                    if (random() % 16 == 0) move = nullMove, ++nullMoves;
                    const int captured = makeMove(st, move);
                    if (move != nullMove) updateKey(node, st, move, captured);
                    NodeState fresh{};
                    computeKey(fresh, st);
                    ASSERT_EQ(std::pair(node.keyLow, node.keyHigh), std::pair(fresh.keyLow, fresh.keyHigh))
                        << text << " ply " << ply << " move " << std::hex << move;
                    whiteToMove = !whiteToMove;
                    if (move == nullMove) continue;
                    ASSERT_EQ(node.castleEpState, fresh.castleEpState) << text << " ply " << ply;
                    ++moves, ++kinds[moveKind(move)], ++promotions[movePromotion(move)];
                }
            }

    // Every kind of move the key treats apart has been followed, for both colours.
    EXPECT_GT(moves, 3000);
    EXPECT_GT(nullMoves, 50);
    EXPECT_GT(kinds[kindCastling], 20);
    EXPECT_GT(kinds[kindEnPassant], 20);
    EXPECT_GT(kinds[kindCapture], 200);
    for (int code : {whiteQueen, whiteRook, whiteBishop, whiteKnight, blackQueen, blackRook, blackBishop,
                     blackKnight})
        EXPECT_GT(promotions[code], 5) << code;
}

// castleEpState carries the castling rights and the en-passant file. With the engine as
// Black the stored files stay and the game's Black rights become the stored White's.
TEST(PositionKeys, CastleEpStateInBothOrientations) {
    auto state = makeEngineState();
    EngineState& st = *state;
    const char* ep = "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";  // d5 may be taken
    const char* rooks = "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1";
    const struct { const char* text; bool engineIsBlack; int state; } cases[] = {
        {ep, false, 16 * 4 + 15}, {ep, true, 16 * 4 + 15}, {rooks, false, 1 + 4 * 2}, {rooks, true, 2 + 4 * 1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(parsePositionText(c.engineIsBlack, c.text, st)) << c.text;
        EXPECT_EQ(castleEpState(st.position, st), c.state) << c.text << ' ' << c.engineIsBlack;
    }
}

}  // namespace
