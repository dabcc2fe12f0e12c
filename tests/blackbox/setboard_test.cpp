#include <gtest/gtest.h>

#include <regex>

#include "blackbox/engine_process.h"

namespace {

using SetBoard = EngineGame;

TEST_F(SetBoard, ImpossiblePositionsAreRefused) {
    for (const char* text : {
             "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",           // no side to move
             "setboard 8/8/8/8/8/8/8/8/K7 w - - 0 1",                           // nine ranks
             "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1", // no White king
             "setboard 4k3/8/8/8/8/8/8/4KK2 w - - 0 1",                         // two White kings
             "setboard 4k2P/8/8/8/8/8/8/4K3 w - - 0 1",                         // pawn on the last rank
             "setboard 4k3/8/8/8/8/8/8/p3K3 b - - 0 1",                         // pawn on the first rank
             "setboard 4k2R/8/8/8/8/8/8/4K3 w - - 0 1",                         // the side not to move in check
             "setboard 4k3/8/8/8/8/NNNNNNNN/NNNNNNNN/4K3 w - - 0 1",            // 17 White pieces
         }) {
        engine.send(text);
        EXPECT_EQ(engine.readReply(), "tellusererror Illegal position") << text;
    }
    // After a refusal the engine is at the start position and plays Black.
    engine.send("level 0 0:05 0");
    engine.send("usermove e2e4");
    const std::string reply = engine.readReply();
    ASSERT_EQ(reply.rfind("move ", 0), 0u) << reply;
    EXPECT_TRUE(reply[6] == '7' || reply[6] == '8') << reply;
}

TEST_F(SetBoard, ThePositionIsPlayedFromTheSideToMove) {
    engine.send("setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("go");
    const std::string reply = engine.readReply();
    EXPECT_TRUE(std::regex_match(reply, std::regex("move (e1[df][12]|e2e[34])"))) << reply;
}

TEST_F(SetBoard, EpdOperationsAreIgnored) {
    engine.send("setboard 4k3/8/8/8/8/8/4P3/4K3 b - - bm Kd7; id \"x\";");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("go");
    const std::string reply = engine.readReply();
    EXPECT_TRUE(std::regex_match(reply, std::regex("move e8(d8|d7|e7|f7|f8)"))) << reply;
}

TEST_F(SetBoard, AStalematedSideToMoveGetsTheDrawLine) {
    engine.send("setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "1/2-1/2 {Stalemate}");
}

TEST_F(SetBoard, AMatedEngineAnnouncesTheWinnersMate) {
    engine.send("setboard 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1");
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
