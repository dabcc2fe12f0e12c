#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "legal_moves.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

class PositionKeys : public ::testing::Test {
protected:
    void SetUp() override { st.position = bareBoard(); }

    // The frame only, with no castling rights and no en-passant pawn (the template
    // holds frame values in those entries).
    Position bareBoard() const {
        Position p = st.emptyBoard;
        p.whiteCastling = p.blackCastling = p.enPassantPawn = 0;
        return p;
    }

    void put(int square, int code) { st.position.squares[square] = static_cast<std::uint8_t>(code); }

    PositionKeyPair z(int code, int square) const { return st.positionKeys[code / 2][st.squareIndex[square]]; }

    // The key carried along by updateKey must equal a fresh computeKey.
    void expectKeyFollows(Move move, int captured) {
        updateKey(node, st, move, captured);
        NodeState fresh{};
        computeKey(fresh, st);
        EXPECT_EQ(node.keyLow, fresh.keyLow);
        EXPECT_EQ(node.keyHigh, fresh.keyHigh);
        EXPECT_EQ(node.castleEpState, fresh.castleEpState);
    }

    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    NodeState node{};
};

TEST_F(PositionKeys, EmptyBoardHasKeyZeroAndOnePieceItsOwnPair) {
    computeKey(node, st);
    EXPECT_EQ(node.keyLow, 0u);
    EXPECT_EQ(node.keyHigh, 0u);
    put(21, whitePawn);  // piece index 0, square index 0: the generator's first number
    computeKey(node, st);
    EXPECT_EQ((std::uint64_t{node.keyHigh} << 32) | node.keyLow, 0x5873C520748E46F6ull);
    put(21, emptySquare);
    put(98, blackKing);
    computeKey(node, st);
    EXPECT_EQ(node.keyLow, z(blackKing, 98).low);
    EXPECT_EQ(node.keyHigh, z(blackKing, 98).high);
}

TEST_F(PositionKeys, CastlingAndEnPassantStayOutOfTheKey) {
    st.position = st.startPosition;
    computeKey(node, st);
    const NodeState start = node;
    EXPECT_EQ(start.castleEpState, 15);
    st.position.whiteCastling = 1;
    st.position.blackCastling = 2;
    computeKey(node, st);
    EXPECT_EQ(node.keyLow, start.keyLow);
    EXPECT_EQ(node.keyHigh, start.keyHigh);
    EXPECT_EQ(node.castleEpState, 9);
}

TEST_F(PositionKeys, CastleEpStateCarriesTheEnPassantFile) {
    Position p = bareBoard();
    EXPECT_EQ(castleEpState(p, st), 0);
    p.whiteCastling = 3;
    p.blackCastling = 0;
    EXPECT_EQ(castleEpState(p, st), 3);
    p.enPassantPawn = 54;  // d-file
    EXPECT_EQ(castleEpState(p, st), 16 * 4 + 3);
    p.whiteCastling = 0;
    p.blackCastling = 3;
    p.enPassantPawn = 68;  // h-file
    EXPECT_EQ(castleEpState(p, st), 16 * 8 + 12);
    p.enPassantPawn = 61;  // a-file
    EXPECT_EQ(castleEpState(p, st), 16 + 12);
}

// The board changes below are what move making does for each kind of move.
TEST_F(PositionKeys, UpdateFollowsCastlingOnAllFourWings) {
    put(21, whiteRook), put(25, whiteKing), put(28, whiteRook);
    put(91, blackRook), put(95, blackKing), put(98, blackRook);
    computeKey(node, st);

    put(25, 0), put(28, 0), put(27, whiteKing), put(26, whiteRook);
    expectKeyFollows(makeMoveWord(25, 27, kindCastling), 0);
    put(95, 0), put(91, 0), put(93, blackKing), put(94, blackRook);
    expectKeyFollows(makeMoveWord(95, 93, kindCastling), 0);

    put(27, 0), put(26, 0), put(28, whiteRook), put(25, whiteKing);  // set up again
    put(93, 0), put(94, 0), put(91, blackRook), put(95, blackKing);
    computeKey(node, st);
    put(25, 0), put(21, 0), put(23, whiteKing), put(24, whiteRook);
    expectKeyFollows(makeMoveWord(25, 23, kindCastling), 0);
    put(95, 0), put(98, 0), put(97, blackKing), put(96, blackRook);
    expectKeyFollows(makeMoveWord(95, 97, kindCastling), 0);
}

TEST_F(PositionKeys, UpdateFollowsEnPassantForBothSides) {
    put(25, whiteKing), put(95, blackKing);
    put(65, whitePawn), put(64, blackPawn);
    st.position.enPassantPawn = 64;
    computeKey(node, st);
    put(65, 0), put(64, 0), put(74, whitePawn);
    st.position.enPassantPawn = 0;
    expectKeyFollows(makeMoveWord(65, 74, kindEnPassant), blackPawn);

    put(53, blackPawn), put(52, whitePawn);
    st.position.enPassantPawn = 52;
    computeKey(node, st);
    put(53, 0), put(52, 0), put(42, blackPawn);
    st.position.enPassantPawn = 0;
    expectKeyFollows(makeMoveWord(53, 42, kindEnPassant), whitePawn);
}

TEST_F(PositionKeys, UpdateFollowsPromotionsWithAndWithoutCapture) {
    put(25, whiteKing), put(95, blackKing);
    put(82, whitePawn), put(91, blackRook), put(37, blackPawn), put(28, whiteBishop);
    computeKey(node, st);
    put(82, 0), put(91, whiteKnight);
    expectKeyFollows(makeMoveWord(82, 91, kindCapture, whiteKnight), blackRook);
    put(37, 0), put(28, blackQueen);
    expectKeyFollows(makeMoveWord(37, 28, kindCapture, blackQueen), whiteBishop);
    put(84, whitePawn);
    computeKey(node, st);
    put(84, 0), put(94, whiteRook);
    expectKeyFollows(makeMoveWord(84, 94, kindQuiet, whiteRook), 0);
}

TEST_F(PositionKeys, UpdateAfterACaptureEqualsTheKeyOfThePositionReached) {
    st.position = st.startPosition;
    computeKey(node, st);
    put(35, 0), put(55, whitePawn);
    st.position.enPassantPawn = 0;
    expectKeyFollows(makeMoveWord(35, 55, kindQuiet), 0);
    put(84, 0), put(64, blackPawn);
    expectKeyFollows(makeMoveWord(84, 64, kindQuiet), 0);
    put(55, 0), put(64, whitePawn);
    expectKeyFollows(makeMoveWord(55, 64, kindCapture), blackPawn);
    put(94, 0), put(64, blackQueen);
    expectKeyFollows(makeMoveWord(94, 64, kindCapture), whitePawn);
}

// Random legal games from positions rich in castling, en passant and promotions, read
// with either side of the text as the engine: the key carried move by move must stay
// the key computed from scratch.
struct KeyedMoveCounts {
    int moves = 0, castlings = 0, enPassants = 0, captures = 0, nullMoves = 0;
    int promotions[23] = {};
};

bool isSpecial(Move m) {
    return moveKind(m) == kindCastling || moveKind(m) == kindEnPassant || movePromotion(m) != 0;
}

void playKeyedGames(EngineState& st, const std::string& text, bool opponentToMove, std::mt19937& random,
                    KeyedMoveCounts& counts) {
    for (int game = 0; game < 12; ++game) {
        ASSERT_TRUE(parsePositionText(opponentToMove, text, st)) << text;
        bool whiteToMove = !opponentToMove;  // the stored White is the engine
        NodeState node{};
        computeKey(node, st);
        for (int ply = 0; ply < 80; ++ply) {
            const std::vector<Move> moves = legalMoves(st, whiteToMove);
            if (moves.empty()) break;
            std::vector<Move> special;
            for (Move m : moves)
                if (isSpecial(m)) special.push_back(m);
            // Take the rare moves whenever offered half of the time, so all of them occur.
            const std::vector<Move>& pool = !special.empty() && random() % 2 == 0 ? special : moves;
            const Move move = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];

            if (random() % 16 == 0) {
                // A null move changes no piece, so it leaves the key as it is.
                makeMove(st, nullMove);
                NodeState fresh{};
                computeKey(fresh, st);
                ASSERT_EQ(fresh.keyLow, node.keyLow);
                ASSERT_EQ(fresh.keyHigh, node.keyHigh);
                node.castleEpState = static_cast<std::uint8_t>(castlingByte(st.position));
                ASSERT_EQ(fresh.castleEpState, node.castleEpState);
                ++counts.nullMoves;
                whiteToMove = !whiteToMove;
                continue;
            }

            const int captured = makeMove(st, move);
            updateKey(node, st, move, captured);
            NodeState fresh{};
            computeKey(fresh, st);
            ASSERT_EQ(node.keyLow, fresh.keyLow) << text << " ply " << ply << " move " << std::hex << move;
            ASSERT_EQ(node.keyHigh, fresh.keyHigh) << text << " ply " << ply << " move " << std::hex << move;
            ASSERT_EQ(node.castleEpState, fresh.castleEpState) << text << " ply " << ply;
            const Position& p = st.position;
            const int expectedState = castlingByte(p) + (p.enPassantPawn ? 16 * (p.enPassantPawn % 10) : 0);
            ASSERT_EQ(node.castleEpState, expectedState);

            ++counts.moves;
            if (moveKind(move) == kindCastling) ++counts.castlings;
            if (moveKind(move) == kindEnPassant) ++counts.enPassants;
            if (moveKind(move) == kindCapture) ++counts.captures;
            ++counts.promotions[movePromotion(move)];
            whiteToMove = !whiteToMove;
        }
    }
}

TEST(PositionKeysInGames, IncrementalKeyEqualsTheKeyFromScratchAfterEveryMove) {
    auto state = makeEngineState();
    std::mt19937 random(20240611);
    const std::vector<std::string> texts = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    };
    KeyedMoveCounts counts;
    for (const std::string& text : texts)
        for (bool opponentToMove : {false, true}) playKeyedGames(*state, text, opponentToMove, random, counts);

    // Every kind of move the key treats apart has been followed, for both colours.
    EXPECT_GT(counts.moves, 3000);
    EXPECT_GT(counts.castlings, 20);
    EXPECT_GT(counts.enPassants, 20);
    EXPECT_GT(counts.captures, 200);
    EXPECT_GT(counts.nullMoves, 50);
    for (int code : {whiteQueen, whiteRook, whiteBishop, whiteKnight, blackQueen, blackRook, blackBishop,
                     blackKnight})
        EXPECT_GT(counts.promotions[code], 5) << code;
}

TEST(PositionKeysInGames, CastleEpStateAfterADoubleStepBesideAnEnemyPawn) {
    auto state = makeEngineState();
    EngineState& st = *state;
    ASSERT_TRUE(parsePositionText(false, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", st));
    EXPECT_EQ(castleEpState(st.position, st), 16 * 4 + 15);  // the d5 pawn may be taken
    // The same position with the engine as Black: stored files stay, the ranks turn over.
    ASSERT_TRUE(parsePositionText(true, "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", st));
    EXPECT_EQ(st.position.enPassantPawn, 54);
    EXPECT_EQ(castleEpState(st.position, st), 16 * 4 + 15);
    ASSERT_TRUE(parsePositionText(false, "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", st));
    EXPECT_EQ(castleEpState(st.position, st), 1 + 4 * 2);
    ASSERT_TRUE(parsePositionText(true, "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", st));
    EXPECT_EQ(castleEpState(st.position, st), 2 + 4 * 1);  // the game's Black rights are stored White's
}

}  // namespace
