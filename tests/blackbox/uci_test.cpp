// The UCI front end over pipes: a first line "uci" starts it; every other start keeps
// the xboard handshake (handshake_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blackbox/engine_process.h"

namespace {

bool startsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

// The word after `key` in an info line ("" when there is none).
std::string field(const std::string& line, const std::string& key) {
    const auto at = line.find(" " + key + " ");
    if (at == std::string::npos) return "";
    const auto start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

class Uci : public ::testing::Test {
protected:
    EngineProcess engine;
    void SetUp() override {
        engine.send("uci");
        lines = engine.readLinesUntilQuiet(300, 5000);  // an engine under an emulator starts slowly
    }
    void TearDown() override {
        engine.send("quit");
        EXPECT_EQ(engine.waitForExit(), 0);
    }
    // Lines up to and with the next bestmove; exactly one bestmove follows a go.
    std::vector<std::string> search(int timeoutMs = 20000) {
        std::vector<std::string> got;
        do got.push_back(engine.readLine(timeoutMs));
        while (!startsWith(got.back(), "bestmove") && got.back()[0] != '<');
        return got;
    }
    // The last info line with a score, and the bestmove, of one go.
    std::pair<std::string, std::string> go(const std::string& position, const std::string& limits) {
        engine.send(position);
        engine.send("go " + limits);
        const std::vector<std::string> got = search();
        std::string info;
        for (const std::string& line : got)
            if (startsWith(line, "info depth ")) info = line;
        return {info, got.back()};
    }
    // Sends isready to a running search: readyok comes between its info lines.
    void expectReadyWhileThinking() {
        engine.send("isready");
        std::string line;
        do line = engine.readLine();
        while (startsWith(line, "info "));
        EXPECT_EQ(line, "readyok");
    }
    std::vector<std::string> lines;
};

TEST_F(Uci, IdentityOptionsAndIllegalInput) {
    EXPECT_EQ(lines, (std::vector<std::string>{"id name Tamblor 0.35k", "id author the Tamblor developers",
                                               "option name Ponder type check default false",
                                               "option name OwnBook type check default true",
                                               "option name Clear Hash type button", "uciok"}));
    // Accepted without an answer: options known and unknown, debug, register, unknown
    // commands, stop and ponderhit with nothing running; an unknown word is skipped.
    for (const char* line : {"setoption name Ponder value true", "setoption name OwnBook value false",
                             "setoption name Clear Hash", "setoption name Hash value 64", "setoption", "debug on",
                             "register later", "frobnicate the knights", "stop", "ponderhit", "", "ucinewgame"})
        engine.send(line);
    engine.send("joho isready");
    EXPECT_EQ(engine.readLinesUntilQuiet(), std::vector<std::string>{"readyok"});

    // A bad FEN, an unplayable one, an illegal move, a 10,000-character line: each is
    // named, and the last good position (Black to move, mated) stays.
    engine.send("position fen 6k1/5ppp/8/8/8/8/5PPP/r5K1 w - - 0 1");
    const std::string bad[] = {"position fen rnbqkbnr/pppppppp/8/8 x KQkq - 0 1",
                               "position fen 6k1/5ppp/8/8/8/8/5PPP/r5K1 b - - 0 1",
                               "position startpos moves e2e4 e7e5 e1e3",
                               "position startpos moves " + std::string(10000, 'a'), "position sideways"};
    for (const std::string& line : bad) {
        engine.send(line);
        const std::vector<std::string> answer = engine.readLinesUntilQuiet();
        ASSERT_EQ(answer.size(), 1u) << line.substr(0, 60);
        EXPECT_TRUE(startsWith(answer[0], "info string ")) << answer[0];
    }
    engine.send("go depth 3");
    const std::vector<std::string> mated = search();
    EXPECT_EQ(mated.back(), "bestmove 0000");
    EXPECT_EQ(field(mated.front(), "score"), "mate");
    EXPECT_EQ(field(mated.front(), "mate"), "0");
    // Stalemate: no move, a draw score.
    const auto [stalemate, none] = go("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "wtime 1000 btime 1000");
    EXPECT_EQ(none, "bestmove 0000");
    EXPECT_EQ(field(stalemate, "cp"), "0");
}

// Castling, en passant and promotion reach the board; a long game reaches the draw rules.
TEST_F(Uci, MovesOfThePositionCommandAndMatesForEitherColour) {
    engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f6e4 f1e1");  // the rook castled
    engine.send("isready");
    EXPECT_EQ(engine.readLinesUntilQuiet(), std::vector<std::string>{"readyok"});
    const std::string enPassant = "position fen 4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1 moves e2e4 ";
    EXPECT_EQ(field(go(enPassant + "d4e3", "depth 3").first, "cp"), "0");
    EXPECT_GT(std::stoi(field(go(enPassant + "d4d3", "depth 3").first, "cp")), 200);
    const std::string promotion = "position fen k7/4P3/8/8/8/8/8/K7 w - - 0 1 moves e7e8";
    EXPECT_GT(std::stoi(field(go(promotion + "q a8b7", "depth 3").first, "cp")), 800);
    EXPECT_EQ(field(go(promotion + "n a8b7", "depth 3").first, "cp"), "0");

    std::string shuffle = "position startpos moves";
    for (int i = 0; i < 500; ++i) shuffle += " g1f3 g8f6 f3g1 f6g8";  // 10,000 characters
    const auto [drawn, move] = go(shuffle, "depth 4");
    EXPECT_EQ(field(drawn, "cp"), "0");
    EXPECT_EQ(field(drawn, "depth"), "4");

    for (const char* fen : {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1"}) {
        const auto [mate, best] = go(std::string("position fen ") + fen, "depth 6");
        EXPECT_EQ(field(mate, "mate"), "1") << mate;
        EXPECT_EQ(best, fen[0] == '6' ? "bestmove a1a8" : "bestmove a8a1");
    }
}

// go infinite waits for stop, also after a mate; isready is answered while it thinks;
// nodes stop the search exactly; movetime and depth end it; clocks from 100 ms to 10 min.
TEST_F(Uci, LimitsStopAndClocks) {
    engine.send("position fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    engine.send("go infinite");
    expectReadyWhileThinking();
    EXPECT_TRUE(engine.readLinesUntilQuiet(300).empty());  // the mate is found; it waits
    engine.send("stop");
    EXPECT_EQ(search().back(), "bestmove a1a8");
    EXPECT_TRUE(engine.readLinesUntilQuiet().empty());  // one bestmove only

    for (const char* nodes : {"2", "1000", "50000"})
        EXPECT_EQ(field(go("position startpos moves d2d4", std::string("nodes ") + nodes).first, "nodes"), nodes);
    EXPECT_EQ(field(go("position startpos", "depth 5").first, "depth"), "5");
    // searchmoves: only the listed legal moves, up to the next parameter; none legal, no limit.
    const std::string backRank = "position fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1";
    EXPECT_EQ(go(backRank, "searchmoves g1f1 a1a7 depth 4").second.substr(0, 13), "bestmove a1a7");
    EXPECT_EQ(go(backRank, "depth 4 searchmoves g1f1").second.substr(0, 13), "bestmove g1f1");
    EXPECT_EQ(go(backRank, "searchmoves a1b2 depth 3").second.substr(0, 13), "bestmove a1a8");
    EXPECT_NE(go("position startpos moves d2d4 d7d5", "movetime 200").second, "<timeout>");

    // A clock too short for a budget gives the first iteration only.
    const std::string italian = "position fen r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3";
    EXPECT_EQ(field(go(italian, "wtime 100 btime 100").first, "depth"), "1");
    for (const char* clock : {"wtime 1000 btime 900 winc 10 binc 10", "wtime 60000 btime 60000 movestogo 3"})
        EXPECT_TRUE(startsWith(go("position startpos moves b2b3", clock).second, "bestmove "));
    engine.send("position startpos moves h2h3");
    engine.send("go wtime 600000 btime 600000");
    engine.send("stop");
    EXPECT_TRUE(startsWith(search().back(), "bestmove "));
}

// go ponder searches on the expected reply; ponderhit makes it the real search, stop
// ends it with a bestmove either way.
TEST_F(Uci, PonderThenPonderhitOrStop) {
    for (const char* end : {"ponderhit", "stop"}) {
        engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6");
        engine.send("go ponder wtime 2000 btime 2000");
        expectReadyWhileThinking();
        engine.send(end);
        const std::string best = search().back();
        EXPECT_TRUE(startsWith(best, "bestmove ")) << best;
        EXPECT_TRUE(engine.readLinesUntilQuiet().empty());
    }
}

TEST(UciStart, QuitWhileThinkingAndOnlyAFirstLineUciStartsIt) {
    EngineProcess engine;
    engine.send("U C I\r");
    const std::vector<std::string> identity = engine.readLinesUntilQuiet(300, 5000);
    ASSERT_FALSE(identity.empty());
    EXPECT_EQ(identity.back(), "uciok");
    engine.send("go infinite");
    engine.send("quit");
    EXPECT_EQ(engine.waitForExit(), 0);

    EngineProcess xboard;
    for (const char* line : {"xboard", "uci", "isready"}) xboard.send(line);
    EXPECT_TRUE(xboard.readLinesUntilQuiet().empty());
    xboard.send("protover 2");
    EXPECT_EQ(xboard.readLinesUntilQuiet(300, 5000).size(), 10u);
    xboard.send("quit");
    EXPECT_EQ(xboard.waitForExit(), 0);
}

}  // namespace
