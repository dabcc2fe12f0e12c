// The terms kept move by move must always equal the same terms computed from scratch,
// along random legal games from varied positions and in both board orientations.
#include <cstring>
#include <random>
#include <tuple>

#include "eval_test_support.h"
#include "legal_moves.h"

namespace {

const char* const starts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
};

// The castling bonus is part of the kept positional term only, not of sumPositional.
int castlingBonus(Move m) {
    if (moveKind(m) != kindCastling) return 0;
    const int to = moveTo(m);
    return to == 27 ? 30 : to == 23 ? 5 : to == 97 ? -30 : -5;
}

// Every term that initMaterial, initPawnSets, evaluate and lazyScore set.
auto terms(const NodeState& n) {
    return std::tuple(n.whiteMaterial, n.blackMaterial, n.whitePawnMaterial, n.blackPawnMaterial,
                      n.whitePieceMaterial, n.blackPieceMaterial, n.minorBalance, n.rookBalance,
                      n.whiteQueenCount, n.blackQueenCount, int{n.whiteBishopsOnDark}, int{n.whiteBishopsOnLight},
                      int{n.blackBishopsOnDark}, int{n.blackBishopsOnLight}, n.whitePawnSet, n.blackPawnSet,
                      int{n.whitePawnsOnDark}, int{n.whitePawnsOnLight}, int{n.blackPawnsOnDark},
                      int{n.blackPawnsOnLight}, n.pawnStructure, n.passedPawns, n.pieceTerms, n.kingPlacement,
                      n.whiteKingDanger, n.blackKingDanger, n.score);
}

// A random legal move; castling, en passant and promotions are taken half the time they
// are on offer, so that every game meets them.
Move pickMove(const std::vector<Move>& moves, std::mt19937& random) {
    std::vector<Move> special;
    for (Move m : moves)
        if (moveKind(m) == kindCastling || moveKind(m) == kindEnPassant || movePromotion(m) != 0)
            special.push_back(m);
    const std::vector<Move>& from = !special.empty() && random() % 2 ? special : moves;
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

class IncrementalTerms : public ::testing::TestWithParam<bool> {};

TEST_P(IncrementalTerms, EqualFromScratchAfterEveryMoveOfRandomGames) {
    const bool opponentToMove = GetParam();
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    std::mt19937 random(opponentToMove ? 4711 : 1234);
    int movesChecked = 0, castlings = 0, enPassants = 0, promotions = 0;
    for (const char* fen : starts) {
        for (int game = 0; game < 20; ++game) {
            setBoard(st, fen, opponentToMove);
            bool whiteToMove = !opponentToMove;
            NodeState n = evaluateAtRoot(st, whiteToMove ? 1 : 2);  // root tables fixed for the game

            for (int ply = 0; ply < 100; ++ply) {
                const std::vector<Move> moves = legalMoves(st, whiteToMove);
                if (moves.empty()) break;
                const Move m = pickMove(moves, random);
                SCOPED_TRACE(std::string(fen) + " game " + std::to_string(game) + " ply " + std::to_string(ply) +
                             " move " + std::string(moveToText(m, st.enginePlaysWhite).view()));
                const int mover = st.position.squares[moveFrom(m)];
                const int sumBefore = sumPositional(st);

                const int captured = makeMove(st, m);
                whiteToMove = !whiteToMove;
                updateMaterial(n, st, m, captured);
                const int delta = positionalDelta(st, m, captured);
                n.positionalTerm += delta;
                const bool pawnsChanged = mover == whitePawn || mover == blackPawn || captured == whitePawn ||
                                          captured == blackPawn || movePromotion(m) != 0;
                if (pawnsChanged) updatePawnSets(n, st, m, captured);
                EXPECT_EQ(sumPositional(st), sumBefore + delta - castlingBonus(m));

                // The node with inherited pawn terms against one rebuilt over its old values,
                // so that the from-scratch routines must clear what they set.
                st.ply = whiteToMove ? 1 : 2;
                const Position board = st.position;
                evaluate(n, pawnsChanged, 0, st);
                lazyScore(n, st);
                EXPECT_EQ(0, std::memcmp(&board, &st.position, sizeof board)) << "evaluate changed the board";
                NodeState fresh = n;
                initMaterial(fresh, st);
                initPawnSets(fresh, st);
                evaluate(fresh, true, 0, st);
                lazyScore(fresh, st);
                EXPECT_EQ(terms(n), terms(fresh));

                ++movesChecked;
                castlings += moveKind(m) == kindCastling;
                enPassants += moveKind(m) == kindEnPassant;
                promotions += movePromotion(m) != 0;
                if (HasFailure()) return;
            }
        }
    }
    // The games must have exercised the special moves.
    EXPECT_GT(movesChecked, 3000);
    EXPECT_GT(castlings, 20);
    EXPECT_GT(enPassants, 10);
    EXPECT_GT(promotions, 50);
}

INSTANTIATE_TEST_SUITE_P(BothOrientations, IncrementalTerms, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("EngineNotToMove") : std::string("EngineToMove");
                         });

}  // namespace
