#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "test_support.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// Catches what the engine writes to standard output while it lives.
class StdoutCapture {
public:
    StdoutCapture() {
        fflush(stdout);
        saved_ = dup(1);
        if (pipe(pipe_) == 0) {
            fcntl(pipe_[0], F_SETFL, O_NONBLOCK);
            dup2(pipe_[1], 1);
        }
    }
    ~StdoutCapture() { restore(); }
    std::string text() {
        restore();
        std::string out;
        char chunk[1024];
        ssize_t n;
        while ((n = read(pipe_[0], chunk, sizeof chunk)) > 0) out.append(chunk, static_cast<size_t>(n));
        return out;
    }

private:
    void restore() {
        if (saved_ < 0) return;
        dup2(saved_, 1);
        close(saved_);
        close(pipe_[1]);
        saved_ = -1;
    }
    int pipe_[2] = {-1, -1};
    int saved_ = -1;
};

class Protocol : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;
    void SetUp() override {
        st.outputEnabled = true;
        inputLine.clear();
        ponderEnabled = false;
        ponderMove = nullMove;
        setDefaultClock(st);
        st.lastGameMove = -1;
        st.searchStart = timeOfDay();
    }
    void TearDown() override {
        inputLine.clear();
        ponderEnabled = false;
        ponderMove = nullMove;
    }
};

TEST_F(Protocol, SendLineWritesOneCutLineOnlyWhileOutputIsOn) {
    StdoutCapture capture;
    sendLine(st, "move e2e4");
    sendLine(st, "");
    sendLine(st, std::string(300, 'x'));
    st.outputEnabled = false;
    sendLine(st, "not sent");
    EXPECT_EQ(capture.text(), "move e2e4\n" + std::string(246, 'x') + "\n");
}

TEST_F(Protocol, ThinkingLineShowsDepthScoreTimeNodesAndTheLine) {
    const Move line[pvLength] = {0,
                                 makeMoveWord(35, 55, kindQuiet),
                                 makeMoveWord(85, 65, kindQuiet),
                                 makeMoveWord(27, 46, kindQuiet),
                                 makeMoveWord(92, 73, kindQuiet),
                                 makeMoveWord(55, 64, kindCapture),
                                 makeMoveWord(73, 64, kindCapture),
                                 makeMoveWord(46, 64, kindCapture),
                                 makeMoveWord(94, 64, kindCapture)};
    st.searchDepth = 8;  // shows at most 6 moves
    st.nodeCount = 1234;
    StdoutCapture capture;
    printThinking(st, line, 35, 20);
    ponderMove = makeMoveWord(85, 65, kindQuiet);
    st.easyMove = line[5];
    st.searchDepth = 4;
    printThinking(st, line, -7, 20);
    EXPECT_EQ(capture.text(),
              "6 35  0 1234 e2e4 e7e5 g1f3 b8c6 e4xd5 c6xd5 \n"
              "2 -7  0 1234 (e7e5)  * e2e4 e7e5 \n");
}

TEST_F(Protocol, QuestionMarkStopsTheSearchOnlyFromDepthFour) {
    st.searchDepth = 3;
    inputLine.assign("?");
    handleInputWhileThinking(st);
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_TRUE(inputLine.empty());
    st.searchDepth = 4;
    inputLine.assign("?");
    handleInputWhileThinking(st);
    EXPECT_EQ(st.stopSearch, 1);
    EXPECT_EQ(inputLine.view(), "?");
}

TEST_F(Protocol, CommandsThatEndTheSearchStayPending) {
    for (const char* command : {"force", "quit", "new", "REMOVE", " q u i t\r"}) {
        st.stopSearch = 0;
        inputLine.assign(command);
        handleInputWhileThinking(st);
        EXPECT_EQ(st.stopSearch, 1) << command;
        EXPECT_EQ(inputLine.view(), command);
    }
}

TEST_F(Protocol, ClockCommandsWhileThinkingAreTakenWithoutStopping) {
    inputLine.assign("time 12000");
    handleInputWhileThinking(st);
    EXPECT_NEAR(st.clock * 86400, 119.7, 1e-9);
    inputLine.assign("level 0 2 12");
    handleInputWhileThinking(st);
    EXPECT_NEAR(st.targetTime * 86400, (120.0 - 1) / 40, 1e-9);
    inputLine.assign("usermove e2e4");  // not pondering: dropped
    handleInputWhileThinking(st);
    EXPECT_EQ(st.stopSearch, 0);
    EXPECT_TRUE(inputLine.empty());
}

TEST_F(Protocol, PonderingOnTheExpectedReply) {
    ponderEnabled = true;
    st.enginePlaysWhite = true;
    st.clock = 600 / 86400.0;
    ponderMove = makeMoveWord(85, 65, kindQuiet);  // e7e5 as the stored opponent's move
    inputLine.assign("usermove d7d5");
    handleInputWhileThinking(st);
    EXPECT_EQ(st.stopSearch, 1);  // another move: read it as a command
    EXPECT_EQ(inputLine.view(), "usermove d7d5");
    EXPECT_NE(ponderMove, nullMove);

    st.stopSearch = 0;
    inputLine.assign("usermove e7e5");
    handleInputWhileThinking(st);
    EXPECT_EQ(st.stopSearch, 0);  // a hit: the search goes on as the real one
    EXPECT_EQ(ponderMove, nullMove);
    EXPECT_TRUE(inputLine.empty());
}

}  // namespace
