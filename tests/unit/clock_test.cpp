#include <gtest/gtest.h>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr double secondsPerDay = 86400.0;

class Clock : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    void SetUp() override { st.lastGameMove = -1; }
    double seconds(double dayFraction) const { return dayFraction * secondsPerDay; }
    void startedAgo(double ago) { st.searchStart = timeOfDay() - ago / secondsPerDay; }
};

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
        {"level 40 5 0", 40, 300, 0},
        {"level 0 2 12", 0, 120, 12},
        {"LEVEL 0 0:30 0", 0, 30, 0},  // a colon means minutes:seconds
        {"level\t40  5:30\t\t0 \r", 40, 330, 0},
        {"level 40 abc x", 40, 300, 0},
        {"level", 0, 300, 0},
        {"level 4x 1 2", 0, 60, 2},
    };
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
    st.targetTime = 4 / secondsPerDay;
    EXPECT_FALSE(timeUp(st));
    st.easyMove = makeMoveWord(35, 55, kindCapture);
    EXPECT_TRUE(timeUp(st));  // an easy move halves the target
    st.previousScore = 100;
    st.targetTime = 1 / secondsPerDay;
    EXPECT_TRUE(rootTimeUp(st, 90));
    EXPECT_FALSE(rootTimeUp(st, 85));  // a falling score buys time
}

TEST_F(Clock, PonderHit) {
    // Pondered past the target (8 s) at depth 13 with a steady score: answer at once.
    st.clock = 321 / secondsPerDay;
    startedAgo(10);
    st.searchDepth = 13;
    inputLine.assign("usermove e7e5");
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 1);
    EXPECT_TRUE(inputLine.empty());
    // Otherwise half the pondering time counts against the 80 s target and 320 s maximum.
    st.stopSearch = 0;
    st.clock = 3201 / secondsPerDay;
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
