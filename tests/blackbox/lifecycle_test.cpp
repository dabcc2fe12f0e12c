#include <gtest/gtest.h>

#include "blackbox/engine_process.h"

namespace {

TEST(EngineLifecycle, EndOfInputEndsTheEngineWithStatusZero) {
    EngineProcess engine;
    engine.closeInput();
    EXPECT_EQ(engine.waitForExit(), 0);
}

}  // namespace

// A GUI that skips "new" still meets the start position, with the engine as White.
TEST(EngineLifecycle, CommandsBeforeTheFirstNewMeetTheStartPosition) {
    EngineProcess engine;
    engine.send("protover 2");
    engine.readLinesUntilQuiet(200);
    engine.send("usermove b1a3");
    EXPECT_EQ(engine.readLine(), "Illegal move");
    engine.send("go");
    const std::string reply = engine.readLine();
    EXPECT_TRUE(reply.size() == 9 && reply.rfind("move ", 0) == 0 && (reply[6] == '1' || reply[6] == '2') &&
                reply[8] >= '3' && reply[8] <= '4')
        << reply;
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(), 0);
}
