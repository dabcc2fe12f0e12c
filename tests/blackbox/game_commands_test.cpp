#include <gtest/gtest.h>

#include <regex>

#include "blackbox/engine_process.h"

namespace {

const std::regex engineMove("move [a-h][1-8][a-h][1-8][QRBN]?");

using GameCommands = EngineGame;

// A move line whose from-square is on the side's first two ranks, as at the start.
void expectMoveOf(bool white, const std::string& reply) {
    ASSERT_TRUE(std::regex_match(reply, engineMove)) << reply;
    const char rank = reply[6];
    EXPECT_TRUE(white ? rank == '1' || rank == '2' : rank == '7' || rank == '8') << reply;
}

TEST_F(GameCommands, GoAfterNewPlaysWhite) {
    engine.send("go");
    expectMoveOf(true, engine.readLine());
}

TEST_F(GameCommands, AUserMoveAfterNewIsAnsweredForBlack) {
    engine.send("usermove e2e4");
    expectMoveOf(false, engine.readLine());
}

TEST_F(GameCommands, IllegalAndUnreadableUserMovesAreRefused) {
    for (const char* move : {"usermove e2e5", "usermove e7e5", "usermove e2-e4", "usermove O-O", "usermove z9z9",
                             "usermove e2e4q"}) {
        engine.send(move);
        EXPECT_EQ(engine.readLine(), "Illegal move") << move;
    }
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("USERMOVE E2E4");  // the refusals changed nothing
    EXPECT_TRUE(std::regex_match(engine.readLine(), engineMove));
}

TEST_F(GameCommands, ForceModeRecordsMovesAndGoPlaysTheSideToMove) {
    engine.send("force");
    engine.send("usermove e2e4");
    engine.send("usermove e7e5");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());  // force mode only records
    engine.send("go");
    const std::string reply = engine.readLine();
    ASSERT_TRUE(std::regex_match(reply, engineMove)) << reply;
    EXPECT_NE(reply, "move e2e4");  // the record was replayed: e2 is empty now
    // The engine now plays White: a Black reply is accepted as the opponent's move.
    engine.send("usermove b8c6");
    EXPECT_TRUE(std::regex_match(engine.readLine(), engineMove));
}

TEST_F(GameCommands, GoWithAnIllegalRecordedMoveSaysSo) {
    engine.send("force");
    engine.send("usermove e2e4");
    engine.send("usermove e2e4");  // recorded without a test in force mode
    engine.send("go");
    EXPECT_EQ(engine.readLine(), "Illegal move");
}

TEST_F(GameCommands, UndoShortensTheRecordInForceMode) {
    engine.send("force");
    engine.send("usermove e2e4");
    engine.send("usermove e7e5");
    engine.send("undo");
    engine.send("undo");
    engine.send("usermove d2d4");
    engine.send("go");  // the engine plays Black after 1.d4
    expectMoveOf(false, engine.readLine());
}

TEST_F(GameCommands, RemoveTakesBackTwoHalfMoves) {
    engine.send("usermove e2e4");
    ASSERT_TRUE(std::regex_match(engine.readLine(), engineMove));
    engine.send("remove");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    // Back at the start with White to move: e2e4 is legal again.
    engine.send("usermove e2e4");
    EXPECT_TRUE(std::regex_match(engine.readLine(), engineMove));
}

TEST_F(GameCommands, RemoveWithOneRecordedMoveDoesNothing) {
    engine.send("force");
    engine.send("usermove e2e4");
    engine.send("remove");
    engine.send("go");  // still Black to move after 1.e4
    expectMoveOf(false, engine.readLine());
}

TEST_F(GameCommands, TimeAndLevelAreTakenSilently) {
    engine.send("level 40 5 0");
    engine.send("time 30000");
    engine.send("otim 30000");
    engine.send("easy");
    engine.send("hard");
    engine.send("easy");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("usermove g1f3");
    EXPECT_TRUE(std::regex_match(engine.readLine(), engineMove));
}

TEST_F(GameCommands, QuitWhileAGameIsUnderWay) {
    engine.send("usermove e2e4");
    EXPECT_TRUE(std::regex_match(engine.readLine(), engineMove));
}

}  // namespace
