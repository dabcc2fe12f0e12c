#include <gtest/gtest.h>

#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

// The typed move matched to the generated word it names, or nullMove when none; a
// refused move is left as it was typed.
Move match(std::string_view text, bool moverIsWhite, const EngineState& st) {
    const Move typed = textToMove(moverIsWhite, text, st.enginePlaysWhite);
    Move move = typed;
    if (move == nullMove || !matchGeneratedMove(move, moverIsWhite, st)) {
        EXPECT_EQ(move, typed) << text;
        return nullMove;
    }
    return move;
}

TEST(TypedMoves, MatchedToTheGeneratedWord) {
    struct Case {
        const char* fen;
        bool opponentToMove;
        const char* text;
        Move expected;
    };
    const Case cases[] = {
        // Engine White, opponent (stored Black) to move.
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", true, "e7e5", makeMoveWord(85, 65, kindQuiet)},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", true, "e7e4", nullMove},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", true, "e7e5q", nullMove},
        {"4k3/8/8/3p4/4P3/8/8/4K3 b - - 0 1", true, "d5e4", makeMoveWord(64, 55, kindCapture)},
        {"4k3/8/8/8/2Pp4/8/8/4K3 b - c3 0 1", true, "d4c3", makeMoveWord(54, 43, kindEnPassant)},
        {"r3k2r/8/8/8/8/8/8/6K1 b kq - 0 1", true, "e8c8", makeMoveWord(95, 93, kindCastling)},
        // The opponent plays the game's White: its e7 pawn is stored Black on e2.
        {"3k4/4P3/8/8/8/8/8/K7 w - - 0 1", true, "e7e8", nullMove},
        {"3k4/4P3/8/8/8/8/8/K7 w - - 0 1", true, "e7e8n", makeMoveWord(35, 25, kindQuiet, blackKnight)},
        // The engine's own move, as the game rebuild replays it.
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", false, "a7b8r", makeMoveWord(81, 92, kindCapture, whiteRook)},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", false, "a7a8b", makeMoveWord(81, 91, kindQuiet, whiteBishop)},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", false, "a7b8", nullMove},
    };
    auto state = makeEngineState();
    EngineState& st = *state;
    for (const Case& c : cases) {
        ASSERT_TRUE(parsePositionText(c.opponentToMove, c.fen, st)) << c.fen;
        EXPECT_EQ(match(c.text, !c.opponentToMove, st), c.expected) << c.fen << " " << c.text;
    }
}

}  // namespace
