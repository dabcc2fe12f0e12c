// The engine reads its books from its working folder and plays them for either colour;
// without books it searches. What a book may hold (junk, illegal moves, groups) is
// tested on the loader and the book path in tests/unit/book_test.cpp and by the fuzzers.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "blackbox/engine_process.h"

namespace {

// One of the twenty first moves of a side (Black's are the same after 1.e4).
bool isFirstMove(const std::string& reply, bool white) {
    if (reply.size() != 9 || reply.rfind("move ", 0) != 0) return false;
    const char from = reply[5], rank = reply[6], to = reply[7], toRank = reply[8];
    if (rank == (white ? '2' : '7'))
        return from == to && from >= 'a' && from <= 'h' && (white ? toRank == '3' || toRank == '4' : toRank == '6' || toRank == '5');
    return rank == (white ? '1' : '8') && toRank == (white ? '3' : '6') &&
           ((from == 'b' && (to == 'a' || to == 'c')) || (from == 'g' && (to == 'f' || to == 'h')));
}

TEST(BookPlay, TheBooksInTheWorkingFolderArePlayedForEitherColourAndWithoutThemItSearches) {
    for (bool withBooks : {true, false}) {
        char folder[] = "/tmp/tamblor-book-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        const std::string dir = folder;
        if (withBooks) {
            std::ofstream(dir + "/tamblorwhite.doc") << "g2g3 e7e5\nb2b3\n#\ne2e4\n";
            std::ofstream(dir + "/tamblorblack.doc") << "e2e4 c7c5\n";
        }
        EngineProcess engine(dir);
        engine.startGame();
        engine.send("go");
        const std::string white = engine.readReply();
        EXPECT_TRUE(withBooks ? white == "move g2g3" || white == "move b2b3" : isFirstMove(white, true)) << white;
        engine.send("new");
        engine.send("level 0 0:05 0");
        engine.send("usermove e2e4");
        const std::string black = engine.readReply();
        EXPECT_TRUE(withBooks ? black == "move c7c5" : isFirstMove(black, false)) << black;
        engine.send("quit");
        EXPECT_EQ(engine.waitForExit(), 0);
        std::remove((dir + "/tamblorwhite.doc").c_str());
        std::remove((dir + "/tamblorblack.doc").c_str());
        rmdir(folder);
    }
}

}  // namespace
