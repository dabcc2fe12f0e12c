// The GUI side: lines sent, input while thinking, and the clock's budgets,
// commands, time tests and ponder hit. Reading lines (cut at 250 characters, the tail
// dropped) is checked by the fuzz harness, a poll that never blocks and the thinking
// line's fields by the black-box thinking tests.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

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

// Normalising is checked on any bytes by the fuzz harness. A long think passes 2^32
// nodes: the thinking line shows the true count.
TEST_F(Protocol, LinesSentAreCutAt246CharactersOnlyWhileOutputIsOnWithNodeCountsPast32Bits) {
    const Move line[2] = {nullMove, makeMoveWord(35, 55, kindQuiet)};
    st.searchDepth = 3;
    st.nodeCount = 6'000'000'123;
    ::testing::internal::CaptureStdout();
    sendLine(st, "move e2e4");
    sendLine(st, "");
    sendLine(st, std::string(300, 'x'));
    printThinking(st, line, 25, 1);
    st.outputEnabled = false;
    sendLine(st, "not sent");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "move e2e4\n" + std::string(246, 'x') + "\n1 25  0 6000000123 e2e4 \n");
}

// force, new and quit while thinking are driven end to end by the black-box tests.
TEST_F(Protocol, InputWhileThinking) {
    // "?" stops from depth 4; what the command loop must see stays pending; clock commands
    // are taken; a move while not pondering is dropped.
    const struct { const char* line; int depth; bool pondering, stops; } cases[] = {
        {"?", 3, false, false}, {"?", 4, false, true}, {" R e MOVE\r", 4, false, true},
        {"level 0 2 12", 4, false, false}, {"time 12000", 4, false, false}, {"usermove e2e4", 4, false, false},
        // Pondering on e7e5: another move stops the search and is read as a command, and so do
        // the commands that change the game; the opponent's clock does not.
        {"usermove d7d5", 4, true, true}, {"go", 4, true, true}, {"undo", 4, true, true}, {"easy", 4, true, true},
        {"setboard 8/8/8/8/8/8/8/K1k5 w - - 0 1", 4, true, true}, {"otim 500", 4, true, false}};
    for (const auto& c : cases) {
        ponderEnabled = c.pondering;
        ponderMove = c.pondering ? makeMoveWord(85, 65, kindQuiet) : nullMove;  // as the stored opponent's move
        st.searchDepth = c.depth;
        st.stopSearch = 0;
        inputLine.assign(c.line);
        handleInputWhileThinking(st);
        EXPECT_EQ(st.stopSearch, c.stops ? 1 : 0) << c.line;
        EXPECT_EQ(inputLine.view(), c.stops ? c.line : "") << c.line;
    }
    EXPECT_NEAR(seconds(st.targetTime), (120.0 - 1) / 40, 1e-9);  // from the level command
    EXPECT_NEAR(seconds(st.clock), 119.7, 1e-9);                  // from the time command
    inputLine.assign("usermove e7e5");  // the expected move: the search goes on as the engine's
    handleInputWhileThinking(st);
    EXPECT_TRUE(st.stopSearch == 0 && ponderMove == nullMove && inputLine.empty());
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

// How the target is stretched or cut (easy move, falling score, a single reply) only
// spends time better or worse; a wrong elapsed time across midnight loses games.
TEST_F(Clock, ElapsedTimeAcrossMidnight) {
    // Started 3 s before a midnight since passed: the start reads almost a day later than now.
    startedAgo(3);
    st.searchStart += 1.0;
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 3.0, 0.5);
    st.targetTime = 4 * second;
    EXPECT_FALSE(timeUp(st));
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
}

}  // namespace
