// The GUI side: lines read and sent, input while thinking, the thinking line, and the
// clock's budgets, commands, time tests and ponder hit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Winboard : public EngineTest {
protected:
    void SetUp() override {
        TearDown();
        st.outputEnabled = true;
        st.lastGameMove = -1;
        startedAgo(0);
    }
    // The protocol values are process-wide: leave them as found.
    void TearDown() override {
        inputLine.clear();
        ponderEnabled = false;
        ponderMove = nullMove;
    }
    static double seconds(double dayFraction) { return dayFraction / second; }
    void startedAgo(double ago) { st.searchStart = timeOfDay() - ago * second; }
};
using Protocol = Winboard;
using Clock = Winboard;

TEST_F(Protocol, InputLinesAreCutAt250Characters) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string lines = std::string(300, 'a') + "\nnext\n";
    ASSERT_EQ(write(fds[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    const int savedInput = dup(0);
    dup2(fds[0], 0);
    EXPECT_TRUE(inputAvailable(true));
    EXPECT_EQ(inputLine.view(), std::string(250, 'a'));
    inputLine.clear();
    EXPECT_TRUE(inputAvailable(false));
    EXPECT_EQ(inputLine.view(), "next");  // the cut-off tail is dropped, not read as a line
    inputLine.clear();
    EXPECT_FALSE(inputAvailable(true));   // nothing waiting, and the pipe is still open
    dup2(savedInput, 0);
    for (const int fd : {savedInput, fds[0], fds[1]}) close(fd);
}

TEST_F(Protocol, NormalisedInputAndCutOutput) {
    EXPECT_EQ(normaliseLine("usermove e2e4\r").view(), "USERMOVEE2E4");
    EXPECT_EQ(normaliseLine("\t set Board  \x01").view(), "SETBOARD");
    EXPECT_EQ(normaliseLine("e7e8=q {x}").view(), "E7E8=Q{X}");
    EXPECT_EQ(normaliseLine("a\xE9z").view(), "A\xE9Z");  // bytes above 127 are kept as they are
    // Lines sent are cut at 246 characters, and only while output is on.
    CaptureStdout();
    sendLine(st, "move e2e4");
    sendLine(st, "");
    sendLine(st, std::string(300, 'x'));
    st.outputEnabled = false;
    sendLine(st, "not sent");
    EXPECT_EQ(GetCapturedStdout(), "move e2e4\n" + std::string(246, 'x') + "\n");
}

TEST_F(Protocol, ThinkingLineShowsDepthScoreTimeNodesAndTheLine) {
    const Move line[pvLength] = {0, makeMoveWord(35, 55, kindQuiet), makeMoveWord(85, 65, kindQuiet),
                                 makeMoveWord(27, 46, kindQuiet), makeMoveWord(92, 73, kindQuiet),
                                 makeMoveWord(55, 64, kindCapture), makeMoveWord(73, 64, kindCapture),
                                 makeMoveWord(46, 64, kindCapture)};
    st.searchDepth = 8;  // shows at most 6 moves
    st.nodeCount = 1234;
    CaptureStdout();
    printThinking(st, line, 35, 20);
    ponderMove = makeMoveWord(85, 65, kindQuiet);
    st.easyMove = line[5];
    st.searchDepth = 4;
    printThinking(st, line, -7, 20);
    // The time field is right-aligned in two places; its value depends on the machine.
    EXPECT_TRUE(std::regex_match(GetCapturedStdout(),
                                 std::regex("6 35 [ \\d]\\d 1234 e2e4 e7e5 g1f3 b8c6 e4xd5 c6xd5 \n"
                                            "2 -7 [ \\d]\\d 1234 \\(e7e5\\)  \\* e2e4 e7e5 \n")));
}

// force, new and quit while thinking are driven end to end by the black-box tests.
TEST_F(Protocol, InputWhileThinking) {
    const auto feed = [&](const char* line) {
        st.stopSearch = 0;
        inputLine.assign(line);
        handleInputWhileThinking(st);
    };
    // "?" stops from depth 4; what the command loop must see stays pending; clock commands
    // are taken; a move while not pondering is dropped.
    const struct { const char* line; int depth; bool stops; } cases[] = {
        {"?", 3, false}, {"?", 4, true}, {" R e MOVE\r", 4, true}, {"level 0 2 12", 4, false},
        {"time 12000", 4, false}, {"usermove e2e4", 4, false}};
    for (const auto& c : cases) {
        st.searchDepth = c.depth;
        feed(c.line);
        EXPECT_EQ(st.stopSearch, c.stops ? 1 : 0) << c.line;
        EXPECT_EQ(inputLine.view(), c.stops ? c.line : "") << c.line;
    }
    EXPECT_NEAR(seconds(st.targetTime), (120.0 - 1) / 40, 1e-9);  // from the level command
    EXPECT_NEAR(seconds(st.clock), 119.7, 1e-9);                  // from the time command

    // Pondering: another move stops the search and is read as a command; the expected one goes on.
    // Commands that change the game end the ponder too; the opponent's clock does not.
    ponderEnabled = true;
    const Move expected = makeMoveWord(85, 65, kindQuiet);  // e7e5 as the stored opponent's move
    for (const char* line : {"usermove d7d5", "go", "undo", "easy", "setboard 8/8/8/8/8/8/8/K1k5 w - - 0 1", "otim 500"}) {
        ponderMove = expected;
        feed(line);
        const bool stops = std::string_view(line) != "otim 500";
        EXPECT_EQ(st.stopSearch, stops ? 1 : 0) << line;
        EXPECT_EQ(inputLine.view(), stops ? line : "") << line;
    }
    ponderMove = expected;
    feed("usermove e7e5");
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_EQ(ponderMove, nullMove);
    EXPECT_TRUE(inputLine.empty());
}

TEST_F(Clock, WorkedBudgets) {
    parseLevel(st, "level 40 5 0");
    setClock(st, "30000");
    EXPECT_NEAR(seconds(st.clock), 299.7, 1e-9);  // 0.3 s kept back
    computeTimeBudget(st);
    EXPECT_NEAR(seconds(st.targetTime), 0.8 / 42 * 298.7, 1e-9);  // about 5.69 s
    EXPECT_NEAR(seconds(st.maxTime), 2.4 / 42 * 298.7, 1e-9);     // about 17.07 s
    st.lastGameMove = 80;  // (82 / 2) mod 40 = 1 move into the second control
    computeTimeBudget(st);
    EXPECT_NEAR(seconds(st.targetTime), 0.8 / 41 * 298.7, 1e-9);
    // An incremental control budgets from the clock alone.
    parseLevel(st, "level 0 2 12");
    setClock(st, "12000");
    computeTimeBudget(st);
    EXPECT_NEAR(seconds(st.targetTime), 2.9675, 1e-9);
    EXPECT_NEAR(seconds(st.maxTime), 11.87, 1e-9);
}

TEST_F(Clock, LevelAndTimeCommands) {
    // Unreadable fields mean no increment, 5 minutes, the whole game.
    const struct { const char* line; int moves; double base, increment; } cases[] = {
        {"level 0 2 12", 0, 120, 12}, {"LEVEL 0 0:30 0", 0, 30, 0},  // a colon means minutes:seconds
        {"level\t40  5:30\t\t0 \r", 40, 330, 0}, {"level 40 abc x", 40, 300, 0}, {"level", 0, 300, 0},
        {"level 4x 1 2", 0, 60, 2}};
    for (const auto& c : cases) {
        parseLevel(st, c.line);
        EXPECT_EQ(st.movesPerControl, c.moves) << c.line;
        EXPECT_NEAR(seconds(st.clock), c.base, 1e-9) << c.line;
        EXPECT_NEAR(seconds(st.increment), c.increment, 1e-9) << c.line;
    }
    // An unreadable time command keeps the clock.
    setClock(st, "12000");
    const double before = st.clock;
    for (const char* bad : {"12X00", "", "INF"}) setClock(st, bad);
    EXPECT_EQ(st.clock, before);
    setClock(st, "10");  // below the safety margin
    EXPECT_EQ(st.clock, 0.0);
    computeTimeBudget(st);
    EXPECT_EQ(st.maxTime, 0.0);
}

TEST_F(Clock, TimeTests) {
    // Started 3 s before a midnight since passed: the start reads almost a day later than now.
    startedAgo(3);
    st.searchStart += 1.0;
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 3.0, 0.5);
    st.targetTime = 4 * second;
    EXPECT_FALSE(timeUp(st));
    st.easyMove = makeMoveWord(35, 55, kindCapture);
    EXPECT_TRUE(timeUp(st));  // an easy move halves the target
    st.previousScore = 100;
    st.targetTime = 1 * second;
    EXPECT_TRUE(rootTimeUp(st, 90));
    EXPECT_FALSE(rootTimeUp(st, 85));  // a falling score buys time
}

TEST_F(Clock, PonderHit) {
    // Pondered past the target (8 s) at depth 13 with a steady score: answer at once.
    st.clock = 321 * second;
    startedAgo(10);
    st.searchDepth = 13;
    inputLine.assign("usermove e7e5");
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 1);
    EXPECT_TRUE(inputLine.empty());
    // Otherwise half the pondering time counts against the 80 s target and 320 s maximum.
    st.stopSearch = 0;
    st.clock = 3201 * second;
    startedAgo(10);
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_NEAR(seconds(st.targetTime), 75.0, 0.5);
    EXPECT_NEAR(seconds(st.maxTime), 315.0, 0.5);
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 0.0, 0.5);  // the search clock restarts
    // A single legal reply stops from depth ten.
    st.legalRootMoves = 1;
    st.searchDepth = 10;
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 1);
}

}  // namespace
