#include <gtest/gtest.h>

#include "blackbox/engine_process.h"

namespace {

const std::vector<std::string> featureLines = {
    "feature done=0",    "feature myname=\"Tamblor 0.35k\"",
    "feature san=0",     "feature usermove=1",
    "feature analyze=0", "feature setboard=1",
    "feature reuse=1",   "feature sigterm=0",
    "feature sigint=0",  "feature done=1",
};

TEST(Handshake, ProtoverGetsExactlyTheTenFeatureLines) {
    EngineProcess engine;
    engine.send("xboard");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("protover 2");
    EXPECT_EQ(engine.readLinesUntilQuiet(), featureLines);
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(), 0);
}

TEST(Handshake, AnyCaseAndBlanksAreTheSameCommand) {
    EngineProcess engine;
    engine.send("  Pro Tover\t2\r");
    EXPECT_EQ(engine.readLinesUntilQuiet(), featureLines);
    engine.send("Q U I T");
    EXPECT_EQ(engine.waitForExit(), 0);
}

TEST(Handshake, FeatureAnswersAndUnknownCommandsGetNoAnswer) {
    EngineProcess engine;
    engine.send("protover 2");
    engine.readLinesUntilQuiet();
    engine.send("accepted usermove");
    engine.send("rejected analyze");
    engine.send("random");
    engine.send("post");
    engine.send("computer");
    engine.send("");
    engine.send("frobnicate the knights");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(), 0);
}

TEST(Handshake, EndOfInputBeforeProtoverEndsTheEngine) {
    for (bool greeted : {false, true}) {
        EngineProcess engine;
        if (greeted) engine.send("xboard");
        engine.closeInput();
        EXPECT_EQ(engine.waitForExit(), 0);
    }
}

TEST(Handshake, EndOfInputInTheMiddleOfALineEndsTheEngine) {
    EngineProcess engine;
    engine.send("protover 2");
    engine.readLinesUntilQuiet();
    engine.send("new");
    // A line without its line feed, then the GUI goes away.
    const std::string partial = "usermo";
    engine.sendRaw(partial);
    engine.closeInput();
    EXPECT_EQ(engine.waitForExit(), 0);
}

// A GUI that skips "new" still meets the start position, with the engine as White.
TEST(Handshake, CommandsBeforeTheFirstNewMeetTheStartPosition) {
    EngineProcess engine;
    engine.send("protover 2");
    engine.readLinesUntilQuiet(200);
    engine.send("usermove b1a3");
    EXPECT_EQ(engine.readReply(), "Illegal move");
    engine.send("go");
    const std::string reply = engine.readReply();
    EXPECT_TRUE(reply.size() == 9 && reply.rfind("move ", 0) == 0 && (reply[6] == '1' || reply[6] == '2') &&
                reply[8] >= '3' && reply[8] <= '4')
        << reply;
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(), 0);
}

}  // namespace
