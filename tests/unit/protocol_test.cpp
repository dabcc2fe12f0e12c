#include <gtest/gtest.h>

#include <regex>
#include <unistd.h>

#include <string>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Protocol : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    void SetUp() override {
        TearDown();
        st.outputEnabled = true;
        st.searchStart = timeOfDay();
    }
    // The protocol values are process-wide: leave them as found.
    void TearDown() override {
        inputLine.clear();
        ponderEnabled = false;
        ponderMove = nullMove;
    }
};

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

TEST_F(Protocol, InputWhileThinking) {
    const auto feed = [&](const char* line) {
        st.stopSearch = 0;
        inputLine.assign(line);
        handleInputWhileThinking(st);
    };
    // "?" stops from depth 4; what the command loop must see stays pending; clock commands
    // are taken; a move while not pondering is dropped.
    const struct { const char* line; int depth; bool stops; } cases[] = {
        {"?", 3, false},     {"?", 4, true},      {"force", 4, true},        {"new", 4, true},
        {"REMOVE", 4, true}, {" q u i t\r", 4, true}, {"level 0 2 12", 4, false}, {"time 12000", 4, false},
        {"usermove e2e4", 4, false}};
    for (const auto& c : cases) {
        st.searchDepth = c.depth;
        feed(c.line);
        EXPECT_EQ(st.stopSearch, c.stops ? 1 : 0) << c.line;
        EXPECT_EQ(inputLine.view(), c.stops ? c.line : "") << c.line;
    }
    EXPECT_NEAR(st.targetTime * 86400, (120.0 - 1) / 40, 1e-9);  // from the level command
    EXPECT_NEAR(st.clock * 86400, 119.7, 1e-9);                  // from the time command

    // Pondering: another move stops the search and is read as a command; the expected one goes on.
    ponderEnabled = true;
    ponderMove = makeMoveWord(85, 65, kindQuiet);  // e7e5 as the stored opponent's move
    feed("usermove d7d5");
    EXPECT_EQ(st.stopSearch, 1);
    EXPECT_EQ(inputLine.view(), "usermove d7d5");
    feed("usermove e7e5");
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_EQ(ponderMove, nullMove);
    EXPECT_TRUE(inputLine.empty());
}

}  // namespace
