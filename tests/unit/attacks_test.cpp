// Ordinary attack detection and legality are proved by the perft counts; these are the
// cases perft cannot single out.
#include <gtest/gtest.h>

#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

bool blackToMove(std::string_view fen) { return fen.find(" b ") != std::string_view::npos; }

class Attacks : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // Game colours equal stored colours: the engine plays the side to move.
    void load(std::string_view fen) {
        ASSERT_TRUE(parsePositionText(blackToMove(fen), fen, st)) << fen;
        ASSERT_TRUE(st.enginePlaysWhite);
    }

    // The move played as the search plays it: a White move at ply 2, a Black one at ply 3.
    int checkAfter(Move move, bool moverIsBlack) {
        st.ply = moverIsBlack ? 3 : 2;
        st.plyInfo[st.ply + 1].inCheck = -7;  // must be overwritten
        makeMove(st, move);
        updateCheckFlag(st, move, moverIsBlack);
        return st.plyInfo[st.ply + 1].inCheck;
    }
};

constexpr Move quiet(int from, int to, int promotion = 0) { return makeMoveWord(from, to, kindQuiet, promotion); }
constexpr Move castle(int from, int to) { return makeMoveWord(from, to, kindCastling); }
constexpr Move enPassant(int from, int to) { return makeMoveWord(from, to, kindEnPassant); }

struct Case {
    const char* fen;
    Move move;
    int expected;
};

TEST_F(Attacks, CastlingPathCoversKingSquareCrossingAndDestination) {
    const Case cases[] = {
        {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 27), 0},  // f1 attacked
        {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 23), 1},
        {"1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 23), 1},  // b1 may be attacked
        {"3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 23), 0},   // d1
        {"2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 23), 0},  // c1
        {"k3r3/8/8/8/8/8/8/R3K2R w KQ - 0 1", castle(25, 27), 0},   // in check
        {"r3k2r/8/8/8/8/8/8/1R2K1R1 b kq - 0 1", castle(95, 97), 0},  // g8
        {"r3k2r/8/8/8/8/8/8/1R2K1R1 b kq - 0 1", castle(95, 93), 1},  // b8 only
        {"r3k2r/8/8/8/8/8/8/3RK3 b kq - 0 1", castle(95, 93), 0},     // d8
        {"r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1", quiet(95, 96), 0},       // not a castling word
    };
    for (const Case& c : cases) {
        load(c.fen);
        EXPECT_EQ(isCastlingPathSafe(st, c.move), c.expected != 0) << c.fen;
    }
}

// Taking en passant empties a square off the mover's line to its king, which the
// pin test through the from-square alone would miss.
TEST_F(Attacks, EnPassantThatUncoversTheOwnKingIsRefused) {
    const Case cases[] = {
        {"8/8/8/K2pP2r/8/8/8/7k w - d6 0 1", enPassant(65, 74), 0},  // along the rank
        {"8/8/8/K2pP3/8/8/8/7k w - d6 0 1", enPassant(65, 74), 1},
        {"K6k/8/8/3pP3/8/8/8/7b w - d6 0 1", enPassant(65, 74), 0},  // h1-a8 through d5
        {"7k/8/8/8/3Pp3/8/8/B6K b - d3 0 1", enPassant(55, 44), 0},  // a1-h8 through d4
    };
    for (const Case& c : cases) {
        load(c.fen);
        ASSERT_NE(st.position.enPassantPawn, 0) << c.fen;
        st.ply = blackToMove(c.fen) ? 3 : 2;  // the mover did not stand in check
        st.plyInfo[st.ply].inCheck = 0;
        makeMove(st, c.move);
        EXPECT_EQ(isLegalAfterMove(st, c.move, blackToMove(c.fen)), c.expected != 0) << c.fen;
    }
}

TEST_F(Attacks, CheckFlagAfterTheMove) {
    const Case cases[] = {
        {"4k3/8/8/8/4N3/8/8/4K3 w - - 0 1", quiet(55, 76), 1},            // Nf6+
        {"4k3/3p4/8/8/8/3B4/8/4K3 w - - 0 1", quiet(44, 62), 0},          // Bb5, d7 blocks
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", quiet(81, 91, whiteQueen), 1},  // the new piece
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", quiet(81, 91, whiteKnight), 0},
        {"4k3/8/8/8/8/8/4B3/4RK2 w - - 0 1", quiet(35, 44), 1},           // discovered
        {"4k3/8/8/4p3/8/8/4B3/4RK2 w - - 0 1", quiet(35, 44), 0},         // e5 still shields
        {"4k3/8/2N5/1R6/8/8/8/4K3 w - - 0 1", quiet(73, 65), 0},          // rook off its lines
        {"4r2k/8/8/4b3/8/8/8/4K3 b - - 0 1", quiet(65, 54), 1},           // Black, discovered
        {"4k3/8/8/8/8/5p2/8/4K3 b - - 0 1", quiet(46, 36), 1},            // Black pawn
        {"6k1/8/8/3pP3/8/8/B7/4K3 w - d6 0 1", enPassant(65, 74), 1},     // a2 through d5
        {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", castle(25, 27), 1},            // by the rook
    };
    for (const Case& c : cases) {
        load(c.fen);
        EXPECT_EQ(checkAfter(c.move, blackToMove(c.fen)), c.expected) << c.fen;
    }
}

TEST_F(Attacks, KingHasFewFlights) {
    struct Flights {
        const char* fen;
        int ply;  // odd: White to move
        int flights;
    };
    const Flights cases[] = {
        {"7k/8/8/r3K3/8/8/8/8 w - - 0 1", 1, 7},  // d5 attacked; the king shields f5
        {"7k/8/8/8/8/8/3P4/4K3 w - - 0 1", 1, 4},  // frame and own pawn are no flights
        {"7k/8/8/8/8/8/3P4/4K3 w - - 0 1", 2, 3},
        {"7k/6Q1/8/8/8/8/3P4/4K3 b - - 0 1", 2, 1},  // only the unguarded queen's square
    };
    for (const Flights& c : cases) {
        load(c.fen);
        st.ply = c.ply;
        EXPECT_TRUE(kingHasFewFlights(st, c.flights)) << c.fen;
        EXPECT_FALSE(kingHasFewFlights(st, c.flights - 1)) << c.fen;
    }
}

}  // namespace
