#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "blackbox/engine_process.h"

namespace {

using GameCommands = EngineGame;

// The twenty first moves of a side from the start (Black's are the same after 1.e4).
bool isFirstMove(const std::string& reply, bool white) {
    static const std::vector<std::string> files = {"a", "b", "c", "d", "e", "f", "g", "h"};
    std::vector<std::string> moves;
    const std::string home = white ? "1" : "8", pawns = white ? "2" : "7";
    for (const std::string& f : files)
        for (const char* to : white ? std::vector<const char*>{"3", "4"} : std::vector<const char*>{"6", "5"})
            moves.push_back("move " + f + pawns + f + to);
    const std::string third = white ? "3" : "6";
    for (const char* knight : {"b:a", "b:c", "g:f", "g:h"})
        moves.push_back(std::string("move ") + knight[0] + home + knight[2] + third);
    return std::find(moves.begin(), moves.end(), reply) != moves.end();
}

TEST_F(GameCommands, GoAfterNewPlaysALegalWhiteMoveAndAUserMoveALegalBlackOne) {
    engine.send("go");
    const std::string first = engine.readReply();
    EXPECT_TRUE(isFirstMove(first, true)) << first;

    engine.send("new");
    engine.send("level 0 0:05 0");
    engine.send("usermove e2e4");
    const std::string reply = engine.readReply();
    EXPECT_TRUE(isFirstMove(reply, false)) << reply;
}

TEST_F(GameCommands, IllegalAndUnreadableUserMovesAreRefused) {
    for (const char* move : {"usermove e2e5", "usermove e7e5", "usermove e2-e4", "usermove O-O", "usermove z9z9",
                             "usermove e2e4q"}) {
        engine.send(move);
        EXPECT_EQ(engine.readReply(), "Illegal move") << move;
    }
    engine.send("USERMOVE E2E4");  // the refusals changed nothing
    EXPECT_TRUE(isFirstMove(engine.readReply(), false));
}

TEST_F(GameCommands, ForceModeRecordsAndGoPlaysTheSideToMove) {
    engine.send("force");
    for (const char* move : {"usermove e2e4", "usermove e7e5", "usermove d2d4", "undo", "usermove g1f3"})
        engine.send(move);
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());  // force mode only records
    engine.send("go");  // White to move after 1.e4 e5 2.Nf3: g1 is empty now
    const std::string reply = engine.readReply();
    ASSERT_TRUE(std::regex_match(reply, std::regex("move [a-h][1-8][a-h][1-8]"))) << reply;
    EXPECT_NE(reply.substr(5, 2), "g1");
    EXPECT_NE(reply.substr(5, 2), "e2");

    engine.send("force");
    engine.send("usermove e2e4");  // recorded without a test in force mode
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "Illegal move");
}

TEST_F(GameCommands, RemoveTakesBackTwoHalfMovesAndNeverOne) {
    engine.send("usermove e2e4");
    ASSERT_TRUE(isFirstMove(engine.readReply(), false));
    engine.send("remove");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("usermove d2d4");  // back at the start: any first move is legal again
    ASSERT_EQ(engine.readReply().rfind("move ", 0), 0u);

    engine.send("new");
    engine.send("level 0 0:05 0");
    engine.send("force");
    engine.send("usermove e2e4");
    engine.send("remove");  // one half-move only: nothing happens
    engine.send("go");
    EXPECT_TRUE(isFirstMove(engine.readReply(), false));
}

}  // namespace
