// Set-up positions end to end. Refusals of impossible positions and play from the side
// to move are checked by tests/fuzz/blackbox_fuzz.py; it checks claims are true, not
// that they are made.
#include <gtest/gtest.h>

#include <regex>

#include "blackbox/engine_process.h"

namespace {

using SetBoard = EngineGame;

TEST_F(SetBoard, AnEngineWithNoMoveClaimsMateOrStalemate) {
    engine.send("setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "1/2-1/2 {Stalemate}");
    engine.send("setboard 7k/6Q1/6K1/8/8/8/8/8 b - - bm Kg8; id \"x\";");  // EPD operations are ignored
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "1-0 {White mates}");
    engine.send("setboard 8/8/8/8/8/6k1/6q1/7K w - - 0 1");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "0-1 {Black mates}");
}

TEST_F(SetBoard, PromotionsAreSentWithAnUpperCaseLetter) {
    // With the king boxed in, White's only moves are b7's promotions.
    engine.send("setboard r7/1P6/8/8/8/5n2/5k2/7K w - - 0 1");
    engine.send("go");
    const std::string reply = engine.readReply();
    EXPECT_TRUE(std::regex_match(reply, std::regex("move b7[ab]8[QRBN]"))) << reply;
}

TEST_F(SetBoard, CastlingRightsWithoutKingAndRookAtHomeAreDropped) {
    // Black claims both rights but has no rook on h8: only the queen side survives.
    engine.send("setboard r3k3/8/8/8/8/8/8/4K3 w kq - 0 1");
    engine.send("go");
    ASSERT_EQ(engine.readReply().rfind("move e1", 0), 0u);
    engine.send("usermove e8g8");
    EXPECT_EQ(engine.readReply(), "Illegal move");
    engine.send("usermove e8c8");
    EXPECT_EQ(engine.readReply().rfind("move ", 0), 0u);
}

}  // namespace
