// The engine reads its books from its working folder and plays them for either colour.
// What a book may hold (junk, illegal moves, groups) is tested on the loader and the book
// path in tests/unit/book_test.cpp and by the fuzz harness.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "blackbox/engine_process.h"

namespace {

TEST(BookPlay, TheBooksInTheWorkingFolderArePlayedForEitherColour) {
    char folder[] = "/tmp/tamblor-book-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    std::ofstream(dir + "/tamblorwhite.doc") << "g2g3 e7e5\nb2b3\n#\ne2e4\n";
    std::ofstream(dir + "/tamblorblack.doc") << "e2e4 c7c5\n";
    {
        EngineProcess engine(dir);
        engine.startGame();
        engine.send("go");
        const std::string reply = engine.readReply();
        EXPECT_TRUE(reply == "move g2g3" || reply == "move b2b3") << reply;
        engine.send("new");
        engine.send("usermove e2e4");
        EXPECT_EQ(engine.readReply(), "move c7c5");
        engine.send("quit");
        EXPECT_EQ(engine.waitForExit(), 0);
    }
    std::remove((dir + "/tamblorwhite.doc").c_str());
    std::remove((dir + "/tamblorblack.doc").c_str());
    rmdir(folder);
}

}  // namespace
