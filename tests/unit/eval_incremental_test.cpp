// The terms kept move by move must always equal the same terms computed from scratch,
// along random legal games from varied positions and in both board orientations.
#include <cstring>
#include <random>

#include "eval_test_support.h"
#include "legal_moves.h"

namespace {

struct Start {
    const char* name;
    const char* fen;
};

const Start starts[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"promotions", "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1"},
    {"promotions2", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"},
    {"en passant", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"},
    {"pawn ending", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"},
};

int castlingBonus(Move m) {
    if (moveKind(m) != kindCastling) return 0;
    switch (moveTo(m)) {
    case 27: return 30;
    case 23: return 5;
    case 97: return -30;
    case 93: return -5;
    default: return 0;
    }
}

bool isSpecial(Move m) {
    return moveKind(m) == kindCastling || moveKind(m) == kindEnPassant || movePromotion(m) != 0;
}

// A random legal move; castling, en passant and promotions are taken half the time they
// are on offer, so that every game meets them.
Move pickMove(const std::vector<Move>& moves, std::mt19937& random) {
    std::vector<Move> special;
    for (Move m : moves)
        if (isSpecial(m)) special.push_back(m);
    const std::vector<Move>& from = !special.empty() && random() % 2 ? special : moves;
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

class IncrementalTerms : public ::testing::TestWithParam<bool> {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // The evaluation fields that evaluate sets, from a node whose other terms are current.
    static void expectSameEvaluation(const NodeState& kept, const NodeState& fresh) {
        EXPECT_EQ(kept.pawnStructure, fresh.pawnStructure);
        EXPECT_EQ(kept.passedPawns, fresh.passedPawns);
        EXPECT_EQ(kept.pieceTerms, fresh.pieceTerms);
        EXPECT_EQ(kept.kingPlacement, fresh.kingPlacement);
        EXPECT_EQ(kept.whiteKingDanger, fresh.whiteKingDanger);
        EXPECT_EQ(kept.blackKingDanger, fresh.blackKingDanger);
        EXPECT_EQ(kept.score, fresh.score);
    }

    void expectMatchesScratch(const NodeState& n) {
        NodeState s = n;
        initMaterial(s, st);
        EXPECT_EQ(n.whiteMaterial, s.whiteMaterial);
        EXPECT_EQ(n.blackMaterial, s.blackMaterial);
        EXPECT_EQ(n.whitePawnMaterial, s.whitePawnMaterial);
        EXPECT_EQ(n.blackPawnMaterial, s.blackPawnMaterial);
        EXPECT_EQ(n.whitePieceMaterial, s.whitePieceMaterial);
        EXPECT_EQ(n.blackPieceMaterial, s.blackPieceMaterial);
        EXPECT_EQ(n.minorBalance, s.minorBalance);
        EXPECT_EQ(n.rookBalance, s.rookBalance);
        EXPECT_EQ(n.whiteQueenCount, s.whiteQueenCount);
        EXPECT_EQ(n.blackQueenCount, s.blackQueenCount);
        EXPECT_EQ(n.whiteBishopsOnDark, s.whiteBishopsOnDark);
        EXPECT_EQ(n.whiteBishopsOnLight, s.whiteBishopsOnLight);
        EXPECT_EQ(n.blackBishopsOnDark, s.blackBishopsOnDark);
        EXPECT_EQ(n.blackBishopsOnLight, s.blackBishopsOnLight);
        initPawnSets(s, st);
        EXPECT_EQ(n.whitePawnSet, s.whitePawnSet);
        EXPECT_EQ(n.blackPawnSet, s.blackPawnSet);
        EXPECT_EQ(n.whitePawnsOnDark, s.whitePawnsOnDark);
        EXPECT_EQ(n.whitePawnsOnLight, s.whitePawnsOnLight);
        EXPECT_EQ(n.blackPawnsOnDark, s.blackPawnsOnDark);
        EXPECT_EQ(n.blackPawnsOnLight, s.blackPawnsOnLight);
    }
};

TEST_P(IncrementalTerms, EqualFromScratchAfterEveryMoveOfRandomGames) {
    const bool opponentToMove = GetParam();
    std::mt19937 random(opponentToMove ? 4711 : 1234);
    int movesChecked = 0, castlings = 0, enPassants = 0, promotions = 0;
    for (const Start& start : starts) {
        for (int game = 0; game < 20; ++game) {
            setBoard(st, start.fen, opponentToMove);
            bool whiteToMove = !opponentToMove;
            prepareRootTables(st);  // fixed for the whole game, as during one search
            NodeState n{};
            initMaterial(n, st);
            n.positionalTerm = sumPositional(st);
            initPawnSets(n, st);
            st.ply = whiteToMove ? 1 : 2;
            evaluate(n, true, 0, st);
            lazyScore(n, st);

            for (int ply = 0; ply < 100; ++ply) {
                const std::vector<Move> moves = legalMoves(st, whiteToMove);
                if (moves.empty()) break;
                const Move m = pickMove(moves, random);
                SCOPED_TRACE(std::string(start.name) + " game " + std::to_string(game) + " ply " +
                             std::to_string(ply) + " move " + std::string(moveToText(m, st.enginePlaysWhite).view()));
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
                expectMatchesScratch(n);

                // The inherited pawn and passed-pawn terms must match a full recomputation.
                st.ply = whiteToMove ? 1 : 2;
                const Position board = st.position;
                evaluate(n, pawnsChanged, 0, st);
                lazyScore(n, st);
                EXPECT_EQ(0, std::memcmp(&board, &st.position, sizeof board)) << "evaluate changed the board";
                NodeState fresh = n;
                evaluate(fresh, true, 0, st);
                lazyScore(fresh, st);
                expectSameEvaluation(n, fresh);

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
