#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>

#include "blackbox/engine_process.h"

namespace {

const std::regex engineMove("move [a-h][1-8][a-h][1-8][QRBN]?");

// One command and the moves its answer may (allowed, when not empty) or may not be.
struct Step {
    std::string command;
    std::vector<std::string> allowed;
    std::vector<std::string> forbidden;
};

struct Case {
    const char* name;
    std::optional<std::string> whiteBook, blackBook;  // nullopt: no file
    std::vector<Step> steps;
};

std::string junk() {
    std::string text("\x00\x01\xfe\xff\r\r#\n@\n", 9);
    text += std::string(100000, 'z') + "\n";
    for (int i = 0; i < 9000; ++i) text += "e3e4 \\ a move from an empty square\n";
    return text;
}

TEST(BookPlay, TheEnginePlaysFromItsBooksAndSearchesWhereTheyEnd) {
    const Case cases[] = {
        {"first group at the start, then out of the book",
         "g2g3 e7e5 \\ main\nb2b3\n#\ne2e4\ng2g3 d7d5 b1a3\n",
         "",
         {{"go", {"move g2g3", "move b2b3"}, {}}, {"usermove h7h6", {}, {"move b1a3"}}}},
        {"no book files", std::nullopt, std::nullopt, {{"go", {}, {}}}},
        {"junk, huge lines and more than 8001 lines", junk(), junk(), {{"go", {}, {"move e3e4"}}}},
        {"illegal book moves", "e2e5\ne1g1\nd1d3\n", "e2e4 e8e7\ne2e4 e7e4\n",
         {{"go", {}, {"move e2e5", "move e1g1", "move d1d3"}},
          {"new", {}, {}},
          {"usermove e2e4", {}, {"move e8e7", "move e7e4"}}}},
        {"the engine playing Black", "", "e2e4 c7c5 g1f3 b8c6\ne2e4 e7e5\n",
         {{"usermove e2e4", {"move c7c5", "move e7e5"}, {}}}},
    };
    for (const Case& c : cases) {
        char folder[] = "/tmp/tamblor-book-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        const std::string dir = folder;
        if (c.whiteBook) std::ofstream(dir + "/tamblorwhite.doc", std::ios::binary) << *c.whiteBook;
        if (c.blackBook) std::ofstream(dir + "/tamblorblack.doc", std::ios::binary) << *c.blackBook;
        {
            EngineProcess engine(dir);
            engine.startGame();
            for (const Step& step : c.steps) {
                engine.send(step.command);
                if (step.command == "new") {
                    engine.send("level 0 0:05 0");
                    continue;
                }
                const std::string reply = engine.readReply();
                EXPECT_TRUE(std::regex_match(reply, engineMove)) << c.name << ": " << reply;
                if (!step.allowed.empty()) {
                    EXPECT_NE(std::count(step.allowed.begin(), step.allowed.end(), reply), 0) << c.name << ": " << reply;
                }
                EXPECT_EQ(std::count(step.forbidden.begin(), step.forbidden.end(), reply), 0) << c.name << ": " << reply;
            }
            engine.send("quit");
            EXPECT_EQ(engine.waitForExit(), 0) << c.name;
        }
        std::remove((dir + "/tamblorwhite.doc").c_str());
        std::remove((dir + "/tamblorblack.doc").c_str());
        rmdir(folder);
    }
}

}  // namespace
