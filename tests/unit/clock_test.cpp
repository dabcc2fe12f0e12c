#include <gtest/gtest.h>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr double secondsPerDay = 86400.0;

class Clock : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    void SetUp() override {
        st.lastGameMove = -1;
        setDefaultClock(st);
    }
    double seconds(double dayFraction) const { return dayFraction * secondsPerDay; }
};

TEST_F(Clock, FortyMovesInFiveMinutesAtTheFirstMove) {
    parseLevel(st, "level 40 5 0");
    EXPECT_EQ(st.movesPerControl, 40);
    EXPECT_NEAR(seconds(st.clock), 300.0, 1e-9);
    setClock(st, "30000");
    EXPECT_NEAR(seconds(st.clock), 299.7, 1e-9);
    computeTimeBudget(st);
    EXPECT_NEAR(seconds(st.targetTime), 0.8 / 42 * 298.7, 1e-9);  // about 5.69 s
    EXPECT_NEAR(seconds(st.maxTime), 2.4 / 42 * 298.7, 1e-9);     // about 17.07 s
}

TEST_F(Clock, MovesToGoFollowsTheGame) {
    parseLevel(st, "level 40 5 0");
    st.lastGameMove = 80;  // (82 / 2) mod 40 = 1 move into the second control
    computeTimeBudget(st);
    EXPECT_NEAR(st.targetTime, 0.8 / 41 * (st.clock - 1 / secondsPerDay), 1e-15);
}

TEST_F(Clock, IncrementalControlIgnoresTheIncrement) {
    parseLevel(st, "level 0 2 12");
    EXPECT_EQ(st.movesPerControl, 0);
    EXPECT_NEAR(seconds(st.increment), 12.0, 1e-9);
    setClock(st, "12000");
    computeTimeBudget(st);
    EXPECT_NEAR(seconds(st.targetTime), 2.9675, 1e-9);
    EXPECT_NEAR(seconds(st.maxTime), 11.87, 1e-9);
}

TEST_F(Clock, BaseTimeWithAColonIsMinutesAndSeconds) {
    parseLevel(st, "LEVEL 0 0:30 0");
    EXPECT_NEAR(seconds(st.clock), 30.0, 1e-9);
    parseLevel(st, "level 0 5:30 0");
    EXPECT_NEAR(seconds(st.clock), 330.0, 1e-9);
    parseLevel(st, "level\t40  2:00\t\t0 \r");
    EXPECT_EQ(st.movesPerControl, 40);
    EXPECT_NEAR(seconds(st.clock), 120.0, 1e-9);
}

TEST_F(Clock, UnparsableLevelFieldsFallBack) {
    parseLevel(st, "level 40 abc x");
    EXPECT_EQ(st.increment, 0.0);
    EXPECT_NEAR(seconds(st.clock), 300.0, 1e-9);  // 5 minutes
    EXPECT_EQ(st.movesPerControl, 40);
    parseLevel(st, "level");
    EXPECT_EQ(st.movesPerControl, 0);
    EXPECT_NEAR(seconds(st.clock), 300.0, 1e-9);
    parseLevel(st, "level 4x 1 2");  // an unreadable move count means the whole game
    EXPECT_EQ(st.movesPerControl, 0);
    EXPECT_NEAR(seconds(st.increment), 2.0, 1e-9);
}

TEST_F(Clock, TimeCommandKeepsTheClockWhenUnparsable) {
    setClock(st, "12000");
    const double before = st.clock;
    setClock(st, "12X00");
    setClock(st, "");
    setClock(st, "INF");
    EXPECT_EQ(st.clock, before);
    setClock(st, "10");  // below the safety margin
    EXPECT_EQ(st.clock, 0.0);
    computeTimeBudget(st);
    EXPECT_EQ(st.targetTime, 0.0);
    EXPECT_EQ(st.maxTime, 0.0);
}

TEST_F(Clock, ElapsedTimeSurvivesTheDayWrap) {
    st.searchStart = timeOfDay() - 2 / secondsPerDay;
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 2.0, 0.5);
    st.searchStart = timeOfDay() + 1.0 - 3 / secondsPerDay;  // started "before midnight"
    if (st.searchStart >= 1.0) st.searchStart -= 1.0;
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 3.0, 0.5);
}

TEST_F(Clock, TimeTestsBetweenIterationsAndRootMoves) {
    st.targetTime = 4 / secondsPerDay;
    st.searchStart = timeOfDay() - 3 / secondsPerDay;
    EXPECT_FALSE(timeUp(st));
    st.easyMove = makeMoveWord(35, 55, kindCapture);
    EXPECT_TRUE(timeUp(st));  // an easy move halves the target
    st.previousScore = 100;
    st.targetTime = 1 / secondsPerDay;
    EXPECT_TRUE(rootTimeUp(st, 90));
    EXPECT_FALSE(rootTimeUp(st, 85));  // a falling score buys time
}

TEST_F(Clock, PonderHitAfterLongPonderingAnswersAtOnce) {
    st.clock = 321 / secondsPerDay;  // a target of 8 s
    st.searchStart = timeOfDay() - 10 / secondsPerDay;
    st.searchDepth = 13;
    st.iterationHasBest = false;
    st.researchCount = 0;
    st.bestScore = st.previousScore = 20;
    inputLine.assign("usermove e7e5");
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 1);
    EXPECT_TRUE(inputLine.empty());
}

TEST_F(Clock, PonderHitOtherwiseChargesHalfThePonderingTime) {
    st.clock = 3201 / secondsPerDay;  // a target of 80 s, a maximum of 320 s
    st.searchStart = timeOfDay() - 10 / secondsPerDay;
    st.searchDepth = 13;
    inputLine.assign("usermove e7e5");
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_NEAR(seconds(st.hitElapsed), 10.0, 0.5);
    EXPECT_NEAR(seconds(st.targetTime), 75.0, 0.5);
    EXPECT_NEAR(seconds(st.maxTime), 315.0, 0.5);
    EXPECT_NEAR(seconds(elapsedSinceStart(st)), 0.0, 0.5);
    EXPECT_FALSE(inputLine.empty());
    inputLine.clear();
}

TEST_F(Clock, PonderHitWithASingleLegalMoveStopsFromDepthTen) {
    st.clock = 3201 / secondsPerDay;
    st.searchStart = timeOfDay();
    st.legalRootMoves = 1;
    st.searchDepth = 10;
    applyPonderHit(st);
    EXPECT_EQ(st.stopSearch, 1);
}

}  // namespace
