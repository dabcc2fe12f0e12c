// Rules of play. Published leaf counts in both orientations prove move generation, move
// making (castling rights too), attack and legality tests (castling paths too) at large;
// the other tests single out what they cannot.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "tamblorbasis/perft.h"
#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

constexpr Move quiet(int from, int to, int promotion = 0) { return makeMoveWord(from, to, kindQuiet, promotion); }
constexpr Move castle(int from, int to) { return makeMoveWord(from, to, kindCastling); }
constexpr Move enPassant(int from, int to) { return makeMoveWord(from, to, kindEnPassant); }
bool blackToMove(std::string_view fen) { return fen.find(" b ") != std::string_view::npos; }

class Rules : public EngineTest {
protected:
    Position& p = st.position;

    // Game colours equal stored colours: the engine plays the side to move.
    void load(std::string_view fen) {
        ASSERT_TRUE(parsePositionText(blackToMove(fen), fen, st)) << fen;
        ASSERT_TRUE(st.enginePlaysWhite);
    }
};

const struct { const char* fen; int depth; std::uint64_t nodes; } perftCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, 4865609},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
    // In check at the root: only the root's in-check flag makes the pin-only test safe.
    {"4k3/8/8/8/8/8/3n4/4R1K1 b - - 0 1", 1, 5},  // Kd8 Kf8 Kd7 Kf7 and Ne4 blocking
};

// The stored board with the engine to move, then turned over (stored Black moves first),
// where the divide (of the perft tool and the random games' legal moves) must sum to the count.
TEST_F(Rules, PerftCountsInBothOrientations) {
    const PerftReport add = [](Move, std::uint64_t n, void* sum) { *static_cast<std::uint64_t*>(sum) += n; };
    for (const auto& c : perftCases)
        for (bool engineNotToMove : {false, true}) {
            ASSERT_TRUE(parsePositionText(engineNotToMove, c.fen, st)) << c.fen;
            preparePerftRoot(st, !engineNotToMove);
            std::uint64_t sum = 0;
            EXPECT_EQ(engineNotToMove ? perftDivide(st, c.depth, add, &sum) : perft(st, c.depth), c.nodes) << c.fen;
            EXPECT_EQ(sum, engineNotToMove ? c.nodes : 0u) << c.fen;
        }
}

struct Case { const char* fen; Move move; int expected; };

// Taking en passant empties a square off the mover's line to its king, which the
// pin test through the from-square alone would miss.
TEST_F(Rules, EnPassantThatUncoversTheOwnKingIsRefused) {
    const Case cases[] = {
        {"8/8/8/K2pP2r/8/8/8/7k w - d6 0 1", enPassant(65, 74), 0},  // along the rank
        {"8/8/8/K2pP3/8/8/8/7k w - d6 0 1", enPassant(65, 74), 1},
        {"K6k/8/8/3pP3/8/8/8/7b w - d6 0 1", enPassant(65, 74), 0},  // h1-a8 through d5
        {"7k/8/8/8/3Pp3/8/8/B6K b - d3 0 1", enPassant(55, 44), 0},  // a1-h8 through d4
    };
    for (const Case& c : cases) {
        load(c.fen);
        ASSERT_NE(p.enPassantPawn, 0) << c.fen;
        st.ply = blackToMove(c.fen) ? 3 : 2;  // the mover did not stand in check
        st.plyInfo[st.ply].inCheck = 0;
        makeMove(st, c.move);
        EXPECT_EQ(isLegalAfterMove(st, c.move, blackToMove(c.fen)), c.expected != 0) << c.fen;
    }
}

// A missed check would show in the counts; a false one would not, yet the search would
// then score a stalemate as mate.
TEST_F(Rules, CheckFlagAfterTheMove) {
    const Case cases[] = {
        {"4k3/3p4/8/8/8/3B4/8/4K3 w - - 0 1", quiet(44, 62), 0},          // Bb5, d7 blocks
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", quiet(81, 91, whiteQueen), 1},  // the new piece
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", quiet(81, 91, whiteKnight), 0},
        {"4k3/8/8/8/8/8/4B3/4RK2 w - - 0 1", quiet(35, 44), 1},           // discovered
        {"4k3/8/8/4p3/8/8/4B3/4RK2 w - - 0 1", quiet(35, 44), 0},         // e5 still shields
        {"4k3/8/2N5/1R6/8/8/8/4K3 w - - 0 1", quiet(73, 65), 0},          // rook off its lines
        {"4r2k/8/8/4b3/8/8/8/4K3 b - - 0 1", quiet(65, 54), 1},           // Black, discovered
        {"6k1/8/8/3pP3/8/8/B7/4K3 w - d6 0 1", enPassant(65, 74), 1},     // a2 through d5
        {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", castle(25, 27), 1},            // by the rook
    };
    for (const Case& c : cases) {
        load(c.fen);
        const bool moverIsBlack = blackToMove(c.fen);
        st.ply = moverIsBlack ? 3 : 2;  // a White move at ply 2, a Black one at ply 3
        st.plyInfo[st.ply + 1].inCheck = -7;  // must be overwritten
        makeMove(st, c.move);
        updateCheckFlag(st, c.move, moverIsBlack);
        EXPECT_EQ(st.plyInfo[st.ply + 1].inCheck, c.expected) << c.fen;
    }
}

// A spurious en-passant pawn would split one position into two for the tables and the
// repetition test.
TEST_F(Rules, DoubleStepEntersEnPassantOnlyBesideAnEnemyPawn) {
    p = st.startPosition;
    makeMove(st, quiet(35, 55));
    EXPECT_EQ(p.enPassantPawn, 0);
    load("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    makeMove(st, quiet(84, 64));
    EXPECT_EQ(p.enPassantPawn, 64);
}

// Plain typed moves and captures are checked against stockfish by tests/fuzz/blackbox_fuzz.py,
// which seldom meets these; a stray promotion letter and castling are typed there too.
TEST_F(Rules, TypedMovesAreMatchedToTheGeneratedWord) {
    const struct { const char* fen; bool opponentToMove; const char* text; Move expected; } cases[] = {
        {"4k3/8/8/8/2Pp4/8/8/4K3 b - c3 0 1", true, "d4c3", enPassant(54, 43)},  // engine White
        // The opponent plays the game's White: its e7 pawn is stored Black on e2.
        {"3k4/4P3/8/8/8/8/8/K7 w - - 0 1", true, "e7e8", nullMove},
        {"3k4/4P3/8/8/8/8/8/K7 w - - 0 1", true, "e7e8n", quiet(35, 25, blackKnight)},
        // The engine's own move, as the game rebuild replays it.
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", false, "a7b8r", makeMoveWord(81, 92, kindCapture, whiteRook)},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", false, "a7a8b", quiet(81, 91, whiteBishop)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(parsePositionText(c.opponentToMove, c.fen, st)) << c.fen;
        Move move = textToMove(!c.opponentToMove, c.text, st.enginePlaysWhite);
        if (move != nullMove && !matchGeneratedMove(move, !c.opponentToMove, st)) move = nullMove;
        EXPECT_EQ(move, c.expected) << c.fen << " " << c.text;
    }
}

}  // namespace
