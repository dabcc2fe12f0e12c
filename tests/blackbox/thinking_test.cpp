// The engine thinking as a GUI sees it: moves, result lines, set-up positions, and the
// commands that arrive while it thinks or ponders. Refusals of impossible set-ups and the
// truth of every claim are checked by tests/fuzz/blackbox_fuzz.py; here, that claims
// are made.
#include <gtest/gtest.h>

#include <regex>

#include "blackbox/engine_process.h"

namespace {

using Thinking = EngineGame;

const std::regex moveLine("move [a-h][1-8][a-h][1-8][QRBN]?");
// A middle game outside any book, White to move, with plenty to think about.
const char* const middleGame = "setboard r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8";

// Starts a long think and returns once the engine is deep in it (its first thinking
// line comes from the sixth iteration).
void thinkLong(EngineProcess& engine, const char* command) {
    engine.send("level 0 60 0");
    engine.send(command);
    const std::string line = engine.readLine(20000);
    ASSERT_TRUE(std::regex_match(line, std::regex("\\d+ -?\\d+ +\\d+ \\d+ .*"))) << line;
}

// Nothing at all arrives for a while: no move, no thinking line.
void expectSilence(EngineProcess& engine) {
    engine.readLinesUntilQuiet(300);  // lines already on their way
    EXPECT_TRUE(engine.readLinesUntilQuiet(1000).empty());
}

// Promotions go out with an upper-case letter.
TEST_F(Thinking, AMateInOneIsPlayedAndAnnouncedForEitherColour) {
    engine.send("setboard 7k/P5pp/8/8/8/8/8/K7 w - - 0 1");
    engine.send("go");
    const std::string promotion = engine.readReply();
    EXPECT_TRUE(std::regex_match(promotion, std::regex("move a7a8[QR]"))) << promotion;
    EXPECT_EQ(engine.readReply(), "1-0 {White mates}");

    engine.send("setboard 3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "move d8d1");
    EXPECT_EQ(engine.readReply(), "0-1 {Black mates}");

    // Mated by the opponent's move: the engine (Black) announces its loss.
    engine.send("force");
    engine.send("setboard 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1");
    engine.send("usermove d1d8");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "1-0 {White mates}");
    // Set up with no move: stalemated, or mated as White (EPD operations are ignored).
    engine.send("setboard 7k/5Q2/6K1/8/8/8/8/8 b - - bm Kg8; id \"x\";");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "1/2-1/2 {Stalemate}");
    engine.send("setboard 8/8/8/8/8/6k1/6q1/7K w - - 0 1");
    engine.send("go");
    EXPECT_EQ(engine.readReply(), "0-1 {Black mates}");
}

TEST_F(Thinking, CastlingRightsWithoutKingAndRookAtHomeAreDropped) {
    engine.send("setboard r3k3/8/8/8/8/8/8/4K3 w kq - 0 1");  // no rook on h8: only the queen side stays
    engine.send("go");
    ASSERT_EQ(engine.readReply().rfind("move e1", 0), 0u);
    engine.send("usermove e8g8");
    EXPECT_EQ(engine.readReply(), "Illegal move");
    engine.send("usermove e8c8");
    EXPECT_EQ(engine.readReply().rfind("move ", 0), 0u);
}

TEST_F(Thinking, QuestionMarkMakesItMoveAtOnce) {
    engine.send(middleGame);
    thinkLong(engine, "go");
    engine.send("?");
    EXPECT_TRUE(std::regex_match(engine.readReply(2000), moveLine));
}

TEST_F(Thinking, ForceStopsTheThinkingKeepsTheOpponentsMoveAndSilencesTheEngine) {
    engine.send("force");
    engine.send(middleGame);
    engine.send("usermove a2a3");
    thinkLong(engine, "go");  // the engine thinks as Black on 8.a3
    engine.send("force");
    expectSilence(engine);
    engine.send("level 0 0:05 0");
    engine.send("go");  // 8.a3 stays in the game: the engine plays Black again
    const std::string reply = engine.readReply();
    ASSERT_TRUE(std::regex_match(reply, moveLine)) << reply;
    const std::string blackSquares = "a8 c8 d8 f8 g8 a7 b7 e7 f7 g7 h7 c6 e6 f6 d5";
    EXPECT_NE(blackSquares.find(reply.substr(5, 2)), std::string::npos) << reply;
}

TEST_F(Thinking, NewWhileThinkingStartsTheNewGame) {
    engine.send(middleGame);
    thinkLong(engine, "go");
    engine.send("new");
    expectSilence(engine);  // no move of the old game
    engine.send("level 0 0:05 0");
    engine.send("usermove e2e4");  // the start position: Black answers
    const std::string reply = engine.readReply();
    ASSERT_TRUE(std::regex_match(reply, moveLine)) << reply;
    EXPECT_TRUE(reply[6] == '7' || reply[6] == '8') << reply;
}

TEST(ThinkingEnds, QuitWhileThinkingEndsWithoutAMove) {
    EngineProcess engine;
    engine.startGame();
    engine.send(middleGame);
    thinkLong(engine, "go");
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(3000), 0);
    for (const std::string& line : engine.readLinesUntilQuiet(100)) EXPECT_EQ(line.rfind("move", 0), std::string::npos);
}

// The expected reply as the thinking line shows it (e7xd6 -> e7d6).
std::string plainMove(std::string text) {
    const auto x = text.find('x');
    if (x != std::string::npos) text.erase(x, 1);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(Thinking, HardPondersAndAPonderHitAnswersOnItsOwnClock) {
    engine.send("hard");
    engine.send("level 0 0:30 0");
    engine.send(middleGame);
    engine.send("go");
    std::string lastThinking, line;
    while ((line = engine.readLine(20000)).rfind("move ", 0) != 0) {
        ASSERT_NE(line, "<timeout>");
        lastThinking = line;
    }
    // The engine now ponders on the reply its last thinking line expected.
    std::smatch expected;
    ASSERT_TRUE(std::regex_search(lastThinking, expected, std::regex("^\\d+ -?\\d+ +\\d+ \\d+ \\S+ (\\S+)")))
        << lastThinking;
    const std::string reply = plainMove(expected[1]);
    const std::string pondering = engine.readLine(20000);
    ASSERT_EQ(pondering.find("(" + std::string(expected[1]) + ")"), pondering.find('(')) << pondering;
    ASSERT_NE(pondering.find('('), std::string::npos) << pondering;

    engine.send("time 3000");
    engine.send("usermove " + reply);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(std::regex_match(engine.readReply(10000), moveLine));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
}

}  // namespace
