#include <gtest/gtest.h>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "test_support.h"

namespace {

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
