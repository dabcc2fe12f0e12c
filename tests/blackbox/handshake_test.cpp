// The handshake and the end of input. End of input after the handshake, also in the
// middle of a line, and commands before the first "new" are checked by
// tests/fuzz/blackbox_fuzz.py.
#include <gtest/gtest.h>

#include "blackbox/engine_process.h"

namespace {

// Commands in any case and with blanks anywhere are the same command; the GUI's other
// commands and feature answers get no answer.
TEST(Handshake, ProtoverGetsExactlyTheTenFeatureLinesAndNothingElseIsAnswered) {
    EngineProcess engine;
    engine.send("xboard");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("  Pro Tover\t2\r");
    EXPECT_EQ(engine.readLinesUntilQuiet(300, 5000),
              (std::vector<std::string>{"feature done=0", "feature myname=\"Tamblor 0.35k\"", "feature san=0",
                                        "feature usermove=1", "feature analyze=0", "feature setboard=1",
                                        "feature reuse=1", "feature sigterm=0", "feature sigint=0",
                                        "feature done=1"}));
    for (const char* line : {"accepted usermove", "rejected analyze", "random", "post", "computer", "",
                             "frobnicate the knights"})
        engine.send(line);
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    engine.send("Q U I T");
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

}  // namespace
