#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

using Generator = void (*)(Move*&, const EngineState&);

// The words a generator writes, sentinel included, in the order written.
std::vector<Move> generate(Generator generator, const EngineState& st) {
    MoveList list;
    Move* cursor = list.moves;
    generator(cursor, st);
    return std::vector<Move>(list.moves, cursor);
}

class MoveGeneration : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // An empty board with the given pieces; kings are entered in the king squares.
    void setUp(std::initializer_list<std::pair<int, int>> pieces) {
        st.position = st.emptyBoard;
        st.position.whiteCastling = 0;
        st.position.blackCastling = 0;
        st.position.enPassantPawn = 0;
        for (auto [square, piece] : pieces) {
            st.position.squares[square] = static_cast<std::uint8_t>(piece);
            if (piece == whiteKing) st.position.whiteKingSquare = static_cast<std::uint8_t>(square);
            if (piece == blackKing) st.position.blackKingSquare = static_cast<std::uint8_t>(square);
        }
    }
};

Move quiet(int from, int to) { return makeMoveWord(from, to, kindQuiet); }
Move capture(int from, int to, int promotion = 0) { return makeMoveWord(from, to, kindCapture, promotion); }

TEST_F(MoveGeneration, StartPositionQuietMovesInGenerationOrder) {
    st.position = st.startPosition;
    const std::vector<Move> expected = {
        listSentinel,
        quiet(38, 48), quiet(38, 58),  // h2h3 h2h4
        quiet(37, 47), quiet(37, 57),  // g2g3 g2g4
        quiet(36, 46), quiet(36, 56),  // f2f3 f2f4
        quiet(35, 45), quiet(35, 55),  // e2e3 e2e4
        quiet(34, 44), quiet(34, 54),  // d2d3 d2d4
        quiet(33, 43), quiet(33, 53),  // c2c3 c2c4
        quiet(32, 42), quiet(32, 52),  // b2b3 b2b4
        quiet(31, 41), quiet(31, 51),  // a2a3 a2a4
        quiet(27, 46), quiet(27, 48),  // g1f3 g1h3
        quiet(22, 41), quiet(22, 43),  // b1a3 b1c3
    };
    EXPECT_EQ(generate(generateWhiteQuietMoves, st), expected);
    EXPECT_EQ(generate(generateWhiteCaptures, st), std::vector<Move>{listSentinel});
    EXPECT_EQ(generate(generateBlackCaptures, st), std::vector<Move>{listSentinel});
}

TEST_F(MoveGeneration, StartPositionBlackQuietMovesWalkFromTheKingSide) {
    st.position = st.startPosition;
    const std::vector<Move> moves = generate(generateBlackQuietMoves, st);
    ASSERT_EQ(moves.size(), 21u);
    EXPECT_EQ(moves[0], listSentinel);
    EXPECT_EQ(moves[1], quiet(97, 78));  // g8h6: the back rank is walked before the pawns
    EXPECT_EQ(moves[2], quiet(97, 76));  // g8f6
    EXPECT_EQ(moves[3], quiet(92, 73));  // b8c6
    EXPECT_EQ(moves[4], quiet(92, 71));  // b8a6
    EXPECT_EQ(moves[5], quiet(88, 78));  // h7h6
    EXPECT_EQ(moves[6], quiet(88, 68));  // h7h5
    EXPECT_EQ(moves[20], quiet(81, 61)); // a7a5
}

TEST_F(MoveGeneration, SideWithoutMovesGetsOnlyTheSentinel) {
    setUp({{25, whiteKing}, {35, whitePawn}, {45, blackPawn}, {95, blackKing}});
    st.position.squares[25] = 0;  // no White king at all: White has just a blocked pawn
    EXPECT_EQ(generate(generateWhiteQuietMoves, st), std::vector<Move>{listSentinel});
    EXPECT_EQ(generate(generateWhiteCaptures, st), std::vector<Move>{listSentinel});
    setUp({});
    EXPECT_EQ(generate(generateBlackQuietMoves, st), std::vector<Move>{listSentinel});
    EXPECT_EQ(generate(generateBlackCaptures, st), std::vector<Move>{listSentinel});
}

TEST_F(MoveGeneration, EnPassantComesFirstLowerSquareFirst) {
    setUp({{25, whiteKing}, {95, blackKing}, {64, blackPawn}, {63, whitePawn}, {65, whitePawn},
           {76, blackKnight}});
    st.position.enPassantPawn = 64;
    const std::vector<Move> expected = {
        listSentinel,
        makeMoveWord(63, 74, kindEnPassant), makeMoveWord(65, 74, kindEnPassant),
        capture(65, 76),  // the board scan follows
    };
    EXPECT_EQ(generate(generateWhiteCaptures, st), expected);

    setUp({{25, whiteKing}, {95, blackKing}, {54, whitePawn}, {55, blackPawn}});
    st.position.enPassantPawn = 54;
    EXPECT_EQ(generate(generateBlackCaptures, st),
              (std::vector<Move>{listSentinel, makeMoveWord(55, 44, kindEnPassant)}));
}

TEST_F(MoveGeneration, SeventhRankPawnPromotesQueenRookBishopKnight) {
    setUp({{25, whiteKing}, {95, blackKing}, {82, whitePawn}, {91, blackRook}, {93, blackBishop}});
    const std::vector<Move> expected = {
        listSentinel,
        capture(82, 91, 17), capture(82, 91, 13), capture(82, 91, 9), capture(82, 91, 5),
        capture(82, 93, 17), capture(82, 93, 13), capture(82, 93, 9), capture(82, 93, 5),
    };
    EXPECT_EQ(generate(generateWhiteCaptures, st), expected);
    const std::vector<Move> quietMoves = generate(generateWhiteQuietMoves, st);
    ASSERT_GE(quietMoves.size(), 5u);
    EXPECT_EQ(quietMoves[1], makeMoveWord(82, 92, kindQuiet, 17));
    EXPECT_EQ(quietMoves[2], makeMoveWord(82, 92, kindQuiet, 13));
    EXPECT_EQ(quietMoves[3], makeMoveWord(82, 92, kindQuiet, 9));
    EXPECT_EQ(quietMoves[4], makeMoveWord(82, 92, kindQuiet, 5));

    setUp({{25, whiteKing}, {95, blackKing}, {37, blackPawn}, {26, whiteKnight}});
    EXPECT_EQ(generate(generateBlackCaptures, st),
              (std::vector<Move>{listSentinel, capture(37, 26, 18), capture(37, 26, 14),
                                 capture(37, 26, 10), capture(37, 26, 6)}));
    std::vector<Move> pawnQuiet;
    for (Move m : generate(generateBlackQuietMoves, st))
        if (moveFrom(m) == 37) pawnQuiet.push_back(m);
    EXPECT_EQ(pawnQuiet, (std::vector<Move>{makeMoveWord(37, 27, kindQuiet, 18),
                                            makeMoveWord(37, 27, kindQuiet, 14),
                                            makeMoveWord(37, 27, kindQuiet, 10),
                                            makeMoveWord(37, 27, kindQuiet, 6)}));
}

TEST_F(MoveGeneration, PawnStepsAndDoubleSteps) {
    // The double step is judged by the from-square number and needs both squares empty.
    setUp({{25, whiteKing}, {95, blackKing}, {31, whitePawn}, {32, whitePawn}, {52, blackKnight},
           {33, whitePawn}, {43, blackKnight}, {44, whitePawn}});
    EXPECT_EQ(generate(generateWhiteQuietMoves, st),
              (std::vector<Move>{listSentinel, quiet(44, 54), quiet(32, 42), quiet(31, 41),
                                 quiet(31, 51), quiet(25, 34), quiet(25, 35), quiet(25, 36),
                                 quiet(25, 26), quiet(25, 24)}));
    setUp({{25, whiteKing}, {95, blackKing}, {88, blackPawn}, {77, blackPawn}});
    EXPECT_EQ(generate(generateBlackQuietMoves, st),
              (std::vector<Move>{listSentinel, quiet(95, 96), quiet(95, 86), quiet(95, 85),
                                 quiet(95, 84), quiet(95, 94), quiet(88, 78), quiet(88, 68),
                                 quiet(77, 67)}));
}

TEST_F(MoveGeneration, QueenTakesRookRaysFirstButStepsBishopRaysFirst) {
    // Queen on a1 hemmed in by a rook and a bishop one step away, a pawn on c3.
    setUp({{21, whiteQueen}, {31, blackRook}, {22, blackBishop}, {43, blackPawn}, {28, whiteKing},
           {98, blackKing}});
    EXPECT_EQ(generate(generateWhiteCaptures, st),
              (std::vector<Move>{listSentinel, capture(21, 31), capture(21, 22), capture(21, 43)}));
    st.position.squares[43] = 0;
    st.position.squares[31] = 0;
    const std::vector<Move> moves = generate(generateWhiteQuietMoves, st);
    // Diagonal a1-h8 (up to the king on h8) before the a-file.
    std::vector<Move> queenMoves;
    for (Move m : moves)
        if (moveFrom(m) == 21) queenMoves.push_back(m);
    ASSERT_EQ(queenMoves.size(), 13u);
    EXPECT_EQ(queenMoves.front(), quiet(21, 32));
    EXPECT_EQ(queenMoves[5], quiet(21, 87));
    EXPECT_EQ(queenMoves[6], quiet(21, 31));
    EXPECT_EQ(queenMoves.back(), quiet(21, 91));
}

TEST_F(MoveGeneration, RaysStopAtFirstPieceAndTakeOnlyEnemies) {
    setUp({{54, whiteRook}, {74, blackKnight}, {57, whitePawn}, {51, blackPawn}, {25, whiteKing},
           {95, blackKing}});
    EXPECT_EQ(generate(generateWhiteCaptures, st),
              (std::vector<Move>{listSentinel, capture(54, 74), capture(54, 51)}));
    std::vector<Move> rookQuiet;
    for (Move m : generate(generateWhiteQuietMoves, st))
        if (moveFrom(m) == 54) rookQuiet.push_back(m);
    EXPECT_EQ(rookQuiet, (std::vector<Move>{quiet(54, 64), quiet(54, 55), quiet(54, 56),
                                            quiet(54, 53), quiet(54, 52), quiet(54, 44),
                                            quiet(54, 34), quiet(54, 24)}));
}

TEST_F(MoveGeneration, CastlingNeedsRightsAndEmptySquaresOnly) {
    // White king in check from a rook on e8, f1 attacked: castling is still listed.
    setUp({{25, whiteKing}, {21, whiteRook}, {28, whiteRook}, {95, blackRook}, {86, blackBishop},
           {98, blackKing}});
    st.position.whiteCastling = 3;
    std::vector<Move> moves = generate(generateWhiteQuietMoves, st);
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves[1], 0x001E1B19u);
    EXPECT_EQ(moves[2], makeMoveWord(25, 23, kindCastling));
    // Only the queen-side right, and b1 occupied: no castling.
    st.position.whiteCastling = 2;
    st.position.squares[22] = whiteKnight;
    moves = generate(generateWhiteQuietMoves, st);
    for (Move m : moves) EXPECT_NE(moveKind(m), kindCastling);
    // Black: the rights alone decide, not whether king and rook are home.
    setUp({{25, whiteKing}, {55, blackKing}});
    st.position.blackCastling = 3;
    moves = generate(generateBlackQuietMoves, st);
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves[1], makeMoveWord(95, 97, kindCastling));
    EXPECT_EQ(moves[2], 0x001E5D5Fu);
}

TEST_F(MoveGeneration, KingsTouchingAreCaptureTargets) {
    setUp({{55, whiteKing}, {66, blackKing}});
    EXPECT_EQ(generate(generateWhiteCaptures, st), (std::vector<Move>{listSentinel, capture(55, 66)}));
    EXPECT_EQ(generate(generateBlackCaptures, st), (std::vector<Move>{listSentinel, capture(66, 55)}));
}

TEST_F(MoveGeneration, KnightTargetsInFixedOrder) {
    setUp({{55, blackKnight}, {63, whitePawn}, {74, whitePawn}, {76, whiteRook}, {67, whiteBishop},
           {47, whiteQueen}, {36, whitePawn}, {34, whitePawn}, {43, whiteKnight}, {21, whiteKing},
           {98, blackKing}});
    EXPECT_EQ(generate(generateBlackCaptures, st),
              (std::vector<Move>{listSentinel, capture(55, 63), capture(55, 74), capture(55, 76),
                                 capture(55, 67), capture(55, 47), capture(55, 36), capture(55, 34),
                                 capture(55, 43)}));
}

}  // namespace
