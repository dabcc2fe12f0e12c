// The static evaluation term by term, and random legal games in which everything a
// search node carries from move to move (key, material, pawn sets, positional and
// evaluation terms) must equal the same values computed from scratch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tamblorbasis/perft.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tambloreval/tambloreval.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

const char* const startFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class Evaluation : public EngineTest {
protected:
    // With the engine to move unless opponentToMove.
    void load(const std::string& fen, bool opponentToMove = false) {
        ASSERT_TRUE(parsePositionText(opponentToMove, fen, st)) << fen;
    }
    // Everything from scratch on the current board, as the root search prepares it.
    NodeState evaluateAtRoot(int ply) {
        NodeState n{};
        initMaterial(n, st);
        prepareRootTables(st);
        n.positionalTerm = sumPositional(st);
        initPawnSets(n, st);
        st.ply = ply;
        evaluate(n, true, 0, st);
        lazyScore(n, st);
        computeKey(n, st);
        return n;
    }
    NodeState rootOf(const std::string& fen, int ply = 1) {
        load(fen);
        return evaluateAtRoot(ply);
    }
};

TEST_F(Evaluation, StartPositionAtTheRoot) {
    load(startFen);
    EXPECT_EQ(sumPositional(st), 10);
    for (int k = 0; k < 3; ++k) prepareRootTables(st);  // the early-queen and development nudges never add up
    EXPECT_EQ(sumPositional(st), -20);
    const NodeState n = evaluateAtRoot(1);
    EXPECT_EQ(std::tuple(n.score, n.whiteMaterial, n.blackMaterial, n.whitePawnMaterial),
              std::tuple(-20, 3895, 3895, 760));
    load(startFen, true);  // stored with the engine not to move, as at a ply-2 root
    EXPECT_EQ(evaluateAtRoot(2).score, -20);
}

TEST_F(Evaluation, PawnStructureAndPassedPawns) {
    const struct { const char* fen; int structure, passers; } cases[] = {
        // Middle game: weak, isolated, doubled, stop-attacked and supported pawns on both
        // sides; passers only by rank (a2 connected 9, h2 and h3 lone 6 each).
        {"r2qk2r/2p5/2p2p2/3P4/4P3/1P5P/P6P/R2QK2R w - - 0 1", 1, 21},
        // Side by side: supported far up the board, 10 each; connected passers 51 on the
        // fifth rank and 75 on the sixth (Black's b3 and c3).
        {"r2qk2r/8/8/5PPP/8/1pp5/8/R2QK2R w - - 0 1", 3 * 10 - 2 * 10, 3 * 51 - 2 * 75},
        // Endings: isolated and weak; lone passer 51 and four per step of the enemy king from e6.
        {"8/8/8/4P3/8/8/8/k3K3 w - - 0 1", -24, 51 + 4 * 5},
        // On rank 7: 84, wing 20 twice, rook behind 30, a free queening square 50, king 4 x 7.
        {"7k/P7/8/8/8/8/8/R3K3 w - - 0 1", -16, 84 + 20 + 30 + 50 + 4 * 7 + 20},
        {"r3k3/8/8/8/8/8/p7/7K w - - 0 1", 16, -(84 + 20 + 30 + 50 + 4 * 7 + 20)},
    };
    for (const auto& c : cases) {
        const NodeState n = rootOf(c.fen);
        EXPECT_EQ(std::pair(n.pawnStructure, n.passedPawns), std::pair(c.structure, c.passers)) << c.fen;
    }
}

TEST_F(Evaluation, KingDangerAndTheLiftedKingPutBack) {
    const struct { const char* fen; int white, black; } cases[] = {
        {"7k/8/8/8/8/7r/7r/K6r w - - 0 1", 160, 0},  // rooks sweep ranks 1-3 through the lifted king
        {"7k/8/8/8/8/nnn5/7r/K6r w - - 0 1", 160, 0},  // squares Black's pieces stand on are unsafe
        {"7k/8/5NNN/8/8/8/8/R3K3 w - - 0 1", 0, 32},   // four safe squares
        {"7k/8/R7/8/8/8/8/K4R2 w - - 0 1", 0, 32},     // the h8 king's zone is centred on g7
        {"7k/8/8/8/8/8/8/QR2K3 w - - 0 1", 0, 0},      // enough material, but a free zone
        {"7k/8/8/8/8/8/6q1/7K w - - 0 1", 0, 0},       // a queen alone is too little to look
        {startFen, 0, 0},
    };
    for (const auto& c : cases) {
        load(c.fen);
        NodeState n{};
        initMaterial(n, st);
        const Position before = st.position;
        kingSafety(n, st);
        EXPECT_EQ(std::pair(n.whiteKingDanger, n.blackKingDanger), std::pair(c.white, c.black)) << c.fen;
        EXPECT_EQ(0, std::memcmp(&before, &st.position, sizeof before)) << c.fen;
    }
    // Below depth 0 (quiescence) the king danger and the unchanged pawn terms are inherited.
    NodeState n = rootOf("r1bqkbnr/pppp1ppp/2n5/4P3/8/8/PPP1PPPP/RNBQKBNR w KQkq - 0 1");
    n.pawnStructure = 777;
    n.whiteKingDanger = 55;
    evaluate(n, false, -1, st);
    EXPECT_EQ(std::pair(n.pawnStructure, n.whiteKingDanger), std::pair(777, 55));
    evaluate(n, false, 0, st);
    EXPECT_EQ(n.whiteKingDanger, 0);
}

TEST_F(Evaluation, PieceRulesAndTheUnstoppablePawn) {
    const struct { const char* fen; int ply, expected; } cases[] = {
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 1, 20},           // rook on an open file
        {"4k3/B7/1p6/8/8/8/8/4K3 w - - 0 1", 1, -120 + 28},  // bishop trapped on a7, reach from rank 7
        // Bishop pair +30, each reaching rank 7 (+20) and losing 4 for the own pawn on its colour.
        {"4k3/8/8/8/8/PP6/8/2B1KB2 w - - 0 1", 1, 20 + 20 - 4 + 30 - 4},
        {"2b1kb2/8/pp6/8/8/8/8/4K3 w - - 0 1", 1, -(20 + 20 - 4 + 30 - 4)},
        // The e5 pawn outruns the a1 king whoever moves; the d6 king catches it.
        {"8/8/8/4P3/8/8/8/k3K3 w - - 0 1", 1, 32 * 5 + 400},
        {"8/8/8/4P3/8/8/8/k3K3 w - - 0 1", 2, 560},
        {"8/8/3k4/4P3/8/8/8/4K3 w - - 0 1", 1, 0},
        // Black's e4 pawn against the h5 king, four steps from e1: in time only with White to move.
        {"k7/8/8/7K/4p3/8/8/8 w - - 0 1", 1, 0},
        {"k7/8/8/7K/4p3/8/8/8 w - - 0 1", 2, -560},
    };
    for (const auto& c : cases) EXPECT_EQ(rootOf(c.fen, c.ply).pieceTerms, c.expected) << c.fen << " ply " << c.ply;
}

TEST_F(Evaluation, EndingScales) {
    enum Scale { by32, loneKingBonus, none };
    const struct { const char* fen; Scale scale; } cases[] = {
        {"8/8/8/4k3/8/8/8/2B1KN2 w - - 0 1", by32},  // knight and bishop against a lone king
        {"2b1kn2/8/8/8/4K3/8/8/8 w - - 0 1", none},  // ... but Black's are left as they are
        {"4k3/8/8/8/8/3n4/8/R3K3 w - - 0 1", by32},  // rook against a lone minor
        {"4k2r/8/8/8/8/8/8/RN2K3 w - - 0 1", by32},  // rook and knight against a rook
        {"4k3/pp6/8/8/8/8/8/R3K3 w - - 0 1", none},  // a rook against pawns keeps its lead
        // The a-pawn with the defending king in the corner, and a bishop that cannot cover a8.
        {"k7/8/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"8/1k6/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"k7/8/8/8/8/8/P7/2B1K3 w - - 0 1", by32},
        {"4k3/p7/8/8/8/8/8/K7 w - - 0 1", by32},  // Black's twin in the a1 corner
        {"2k5/8/8/8/8/8/P7/4K3 w - - 0 1", loneKingBonus},  // king on c8 is too far
        {"k7/8/8/8/8/8/PP6/4K3 w - - 0 1", loneKingBonus},  // not all pawns on the a-file
    };
    for (const auto& c : cases) {
        const NodeState n = rootOf(c.fen);
        const int raw = termSum(n) + rookVersusMinors(n) + bishopVersusKnight(n);
        ASSERT_GT(std::abs(raw), 100) << c.fen;  // big enough for the scale to show
        const int expected = c.scale == by32 ? raw / 32 : c.scale == none ? raw : raw + std::min(2 * raw, 350);
        EXPECT_EQ(n.score, expected) << c.fen;
    }
    // A Black rook against a minor also counts the White king's edge weight (2 on e1).
    NodeState n = rootOf("r3k3/8/8/8/8/8/8/3NK3 w - - 0 1");
    EXPECT_EQ(n.score, (termSum(n) + rookVersusMinors(n)) / 32 - 4);
    EXPECT_EQ(rootOf("4k3/8/8/8/8/8/8/3BK3 w - - 0 1").score, 0);  // a lone bishop wins nothing
    // The balance corrections: two minors against a rook, a bishop against a knight.
    n = rootOf("r2qk3/8/8/8/8/8/8/1NBQK3 w - - 0 1");
    EXPECT_EQ(rookVersusMinors(n), 70);
    EXPECT_EQ(n.score, termSum(n) + 70);
    EXPECT_EQ(bishopVersusKnight(rootOf("4k3/pp6/4n3/8/8/8/PP6/2B1K3 w - - 0 1")), 20);
}

// --- Random legal games ------------------------------------------------------------

const char* const gameStarts[] = {
    startFen,
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
};

// Every term that computeKey, initMaterial, initPawnSets, evaluate and lazyScore set.
auto terms(const NodeState& n) {
    return std::tuple(n.keyLow, n.keyHigh, n.castleEpState, n.whiteMaterial, n.blackMaterial, n.whitePawnMaterial,
                      n.blackPawnMaterial, n.whitePieceMaterial, n.blackPieceMaterial, n.minorBalance, n.rookBalance,
                      n.whiteQueenCount, n.blackQueenCount, int{n.whiteBishopsOnDark}, int{n.whiteBishopsOnLight},
                      int{n.blackBishopsOnDark}, int{n.blackBishopsOnLight}, n.whitePawnSet, n.blackPawnSet,
                      int{n.whitePawnsOnDark}, int{n.whitePawnsOnLight}, int{n.blackPawnsOnDark},
                      int{n.blackPawnsOnLight}, n.pawnStructure, n.passedPawns, n.pieceTerms, n.kingPlacement,
                      n.whiteKingDanger, n.blackKingDanger, n.score);
}

// The parameter: the engine not to move at the start, so the board is stored turned over.
class RandomGames : public Evaluation, public ::testing::WithParamInterface<bool> {};

TEST_P(RandomGames, CarriedTermsEqualTermsFromScratchAfterEveryMove) {
    const bool opponentToMove = GetParam();
    std::mt19937 random(opponentToMove ? 4711 : 1234);
    int nullMoves = 0, kinds[kindSentinel] = {}, promotions[23] = {};
    for (const char* fen : gameStarts) {
        for (int game = 0; game < 16; ++game) {
            load(fen, opponentToMove);
            bool whiteToMove = !opponentToMove;
            NodeState n = evaluateAtRoot(whiteToMove ? 1 : 2);  // root tables fixed for the game

            for (int ply = 0; ply < 100; ++ply) {
                // The legal moves, as the leaf counter (proved by the counts) finds them;
                // castling, en passant and promotions are taken half the time they are on offer.
                std::vector<Move> moves, special;
                preparePerftRoot(st, whiteToMove);
                const PerftReport add = [](Move m, std::uint64_t, void* c) {
                    static_cast<std::vector<Move>*>(c)->push_back(m);
                };
                perftDivide(st, 1, add, &moves);
                if (moves.empty()) break;
                for (Move m : moves)
                    if (moveKind(m) == kindCastling || moveKind(m) == kindEnPassant || movePromotion(m) != 0)
                        special.push_back(m);
                // Now and then a null move, as the search makes it: never in check.
                const bool nullNow = st.plyInfo[st.ply + 1].inCheck == 0 && random() % 16 == 0;
                const std::vector<Move>& from = !special.empty() && !nullNow && random() % 2 ? special : moves;
                std::uniform_int_distribution<std::size_t> any(0, from.size() - 1);
                const Move m = nullNow ? nullMove : from[any(random)];
                SCOPED_TRACE(std::string(fen) + " game " + std::to_string(game) + " ply " + std::to_string(ply) +
                             " move " + std::string(moveToText(m, st.enginePlaysWhite).view()));
                const int mover = st.position.squares[moveFrom(m)];
                const int sumBefore = sumPositional(st);
                const int captured = makeMove(st, m);
                whiteToMove = !whiteToMove;
                st.ply = whiteToMove ? 1 : 2;
                NodeState fresh{};
                computeKey(fresh, st);
                if (m == nullMove) {  // only the en-passant pawn may go; the carried node stays
                    ++nullMoves;
                    EXPECT_EQ(st.position.enPassantPawn, 0);
                    EXPECT_EQ(std::pair(n.keyLow, n.keyHigh), std::pair(fresh.keyLow, fresh.keyHigh));
                    n.castleEpState = fresh.castleEpState;
                    continue;
                }
                updateKey(n, st, m, captured);
                updateMaterial(n, st, m, captured);
                const int delta = positionalDelta(st, m, captured);
                n.positionalTerm += delta;
                // The castling bonus is part of the carried positional term only, not of sumPositional.
                const int castled = moveKind(m) != kindCastling ? 0 : moveTo(m) == 27 ? 30 : moveTo(m) == 23 ? 5
                                                                    : moveTo(m) == 97 ? -30 : -5;
                EXPECT_EQ(sumPositional(st), sumBefore + delta - castled);
                const bool pawnsChanged = mover == whitePawn || mover == blackPawn || captured == whitePawn ||
                                          captured == blackPawn || movePromotion(m) != 0;
                if (pawnsChanged) updatePawnSets(n, st, m, captured);
                // Inherited pawn terms against a node rebuilt over the old values, so that
                // the from-scratch routines must clear what they set.
                const Position board = st.position;
                evaluate(n, pawnsChanged, 0, st);
                lazyScore(n, st);
                EXPECT_EQ(0, std::memcmp(&board, &st.position, sizeof board)) << "evaluate changed the board";
                fresh = n;
                computeKey(fresh, st);
                initMaterial(fresh, st);
                initPawnSets(fresh, st);
                evaluate(fresh, true, 0, st);
                lazyScore(fresh, st);
                EXPECT_EQ(terms(n), terms(fresh));
                ++kinds[moveKind(m)], ++promotions[movePromotion(m)];
                if (HasFailure()) return;
            }
        }
    }
    // The games must have met every kind of move the carried terms treat apart.
    EXPECT_GT(kinds[kindQuiet] + kinds[kindCapture], 5000);
    EXPECT_GT(nullMoves, 100);
    EXPECT_GT(kinds[kindCastling], 20);
    EXPECT_GT(kinds[kindEnPassant], 10);
    EXPECT_GT(kinds[kindCapture], 200);
    for (int code : {whiteQueen, whiteRook, whiteBishop, whiteKnight, blackQueen, blackRook, blackBishop, blackKnight})
        EXPECT_GT(promotions[code], 5) << code;
}

INSTANTIATE_TEST_SUITE_P(BothOrientations, RandomGames, ::testing::Bool());

}  // namespace
