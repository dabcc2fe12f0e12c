#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "test_support.h"

namespace {

// Loads the two book texts through files. Finding the files is tested end to end in
// tests/blackbox/book_test.cpp.
void loadBooks(EngineState& st, const std::string& white, const std::string& black) {
    const std::string path = ::testing::TempDir() + "tamblor-book-" + std::to_string(getpid());
    for (auto [table, text] : {std::pair{&whiteBook, &white}, {&blackBook, &black}}) {
        std::ofstream(path, std::ios::binary) << *text;
        ASSERT_TRUE(loadBookTable(*table, path.c_str(), st));
    }
    std::remove(path.c_str());
}

// A game from the standard start: the recorded moves are played and kept as the record.
void setGame(EngineState& st, bool engineWhite, const std::string& moves) {
    st.position = st.startPosition;
    st.enginePlaysWhite = engineWhite;
    st.standardStart = true;
    st.lastGameMove = -1;
    std::istringstream words(moves);
    std::string text;
    for (int i = 0; words >> text; ++i) {
        Move move = textToMove((i % 2 == 0) == engineWhite, text, engineWhite);
        if (move != nullMove && matchGeneratedMove(move, (i % 2 == 0) == engineWhite, st)) makeMove(st, move);
        st.gameMoves[++st.lastGameMove].assign(text);
    }
}

Move opponentMove(const EngineState& st, const char* text) {
    Move move = textToMove(false, text, st.enginePlaysWhite);
    return move != nullMove && matchGeneratedMove(move, false, st) ? move : nullMove;
}

using Book = EngineTest;

std::string probeText(EngineState& st, const char* opponent) {
    if (!probeBook(st, opponentMove(st, opponent))) return "-";
    return std::string(moveToText(st.pv[1], st.enginePlaysWhite).view());
}

TEST_F(Book, LoadingKeepsTheNormalisedFirstEightyCharactersOfEachLine) {
    std::string black = "e2e4 e7e5 \\ comment\n\\ a comment line\n@ skipped\n\n  d2d4\tg8f6\r\n#\n";
    black += std::string(100, 'a') + "\n";                 // cut at 80
    black += std::string(78, ' ') + "e2e4\n";              // the cut comes before the blanks go
    black += std::string("\x01\xff g1f3 \0 b1c3\n", 15);   // control bytes and a NUL vanish
    black += std::string(100000, 'x') + "\nc2c4";          // the rest of a long line is skipped
    std::string many;
    for (int i = 0; i < 9000; ++i) many += "a2a3\n";
    loadBooks(st, many, black);
    const char* expected[] = {"E2E4E7E5", "D2D4G8F6", "#", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
                              "E2", "\xff" "G1F3B1C3", "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX",
                              "C2C4"};
    ASSERT_EQ(blackBook.count, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(blackBook.entries[i].view(), expected[i]) << i;
    EXPECT_EQ(whiteBook.count, bookCapacity);  // lines beyond the 8001st are not read
    EXPECT_EQ(whiteBook.entries[bookCapacity - 1].view(), "A2A3");

    EXPECT_FALSE(loadBookTable(whiteBook, "/nonexistent/tamblorwhite.doc", st));  // no file: no book
    EXPECT_EQ(whiteBook.count, 0);
    setGame(st, true, "");
    EXPECT_FALSE(probeBook(st, nullMove));
}

TEST_F(Book, TheFirstGroupWithAContinuationDecides) {
    const char* white =
        "g2g3 e7e5\nb2b3\n#\ne2e4 e7e5 g1f3\ne2e4 c7c5 b1c3\ne2e4 c7c5 g1f3\ng2g3 d7d5 g1f3\ne2e4 e7e5 g1f3\n";
    const char* black = "e2e4 e9e5\ne2e4 e7\n#\ne2e4 c7c5\ne2e4 c7c5\ne2e4 e7e5\nd2d4 d7d5\n";
    loadBooks(st, white, black);
    const struct { bool engineWhite; const char *record, *opponent; std::set<std::string> expected; } cases[] = {
        {true, "", "", {"G2G3", "B2B3"}},          // the later group's e2e4 is never chosen
        {true, "g2g3", "d7d5", {"G1F3"}},          // the first group holds no continuation
        {true, "e2e4", "c7c5", {"B1C3", "G1F3"}},
        {true, "e2e4", "e7e6", {"-"}},             // the game has left the book
        {false, "", "e2e4", {"C7C5", "E7E5"}},     // continuations that are no moves count for nothing
        {false, "e2e4q", "", {"C7C5", "E7E5"}},    // a queen promotion is read as the move
        {false, "e2e4n", "", {"-"}},               // an under-promotion ends the book
        {false, "d2d4 d7d5 c2c4", "", {"-"}},
    };
    for (const auto& c : cases) {
        setGame(st, c.engineWhite, c.record);
        std::set<std::string> seen;
        for (int i = 0; i < 200; ++i) seen.insert(probeText(st, c.opponent));
        EXPECT_EQ(seen, c.expected) << c.record << " " << c.opponent;
        EXPECT_EQ(st.pv[2], nullMove);
    }
}

TEST_F(Book, DistinctContinuationsAreEquallyLikely) {
    loadBooks(st, "", "e2e4 c7c5\ne2e4 c7c5\ne2e4 e7e5\n");
    setGame(st, false, "");
    int once = 0;
    constexpr int probes = 2000;
    for (int i = 0; i < probes; ++i) once += probeText(st, "e2e4") == "E7E5";
    // Hoeffding: a fair choice strays 125 or more from 1000 with probability below
    // 2 exp(-2 * 2000 * 0.0625^2) < 4e-7; counting lines would give about 667.
    EXPECT_NEAR(once, probes / 2, 124);
}

TEST_F(Book, OnlyLegalBookMovesArePlayedWithTheirKindFromTheBoard) {
    const char* white =
        "e2e4 g7g6 e3e4\ne2e4 g7g6 e1e3\n"                // from an empty square; a king's jump
        "e2e4 d7d5 e4d5\n"
        "e2e4 a7a6 e4e5 d7d5 e5d6\n"
        "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1\n"
        "e2e4 d7d5 e4d5 c7c6 d5c6 g8f6 c6b7 b8d7 b7a8\n"
        "e2e4 d7d5 e4d5 d8d5 b1c3 d5e5 d2d4\n"           // leaves the king in check
        "e2e4 b7b6 g2g3 c8a6 f1g2 e7e6 g1f3 b8c6 e1g1\n"  // castles across an attacked square
        "e2e4 d7d6 f1b5 e7e5 g1f3\n";                    // after an opponent's move that ignores check
    loadBooks(st, white, "e2e4 e7e5\n");
    // expected 0: the book path refuses.
    const struct { bool engineWhite; const char *record, *opponent; Move expected; } cases[] = {
        {true, "e2e4", "g7g6", nullMove},
        {true, "e2e4", "d7d5", makeMoveWord(55, 64, kindCapture)},
        {true, "e2e4 a7a6 e4e5", "d7d5", makeMoveWord(65, 74, kindEnPassant)},
        {true, "e2e4 e7e5 g1f3 b8c6 f1c4", "f8c5", makeMoveWord(25, 27, kindCastling)},
        {true, "e2e4 d7d5 e4d5 c7c6 d5c6 g8f6 c6b7", "b8d7", makeMoveWord(82, 91, kindCapture, whiteQueen)},
        {true, "e2e4 d7d5 e4d5 d8d5 b1c3", "d5e5", nullMove},
        {true, "e2e4 b7b6 g2g3 c8a6 f1g2 e7e6 g1f3", "b8c6", nullMove},
        {true, "e2e4 d7d6 f1b5", "e7e5", nullMove},
        {false, "", "e2e4", makeMoveWord(35, 55, kindQuiet)},  // e7e5 on the board seen from Black
    };
    for (const auto& c : cases) {
        setGame(st, c.engineWhite, c.record);
        const Move opponent = opponentMove(st, c.opponent);
        const Position before = st.position;
        if (opponent != nullMove) makeMove(st, opponent);
        const Position after = st.position;
        st.position = before;
        st.replyReady = false;
        st.bestScore = 7;
        const bool played = playFromBook(st, opponent);
        EXPECT_EQ(played, c.expected != nullMove) << c.record << " " << c.opponent;
        if (played) { EXPECT_EQ(st.pv[1], c.expected) << c.record; }
        EXPECT_TRUE(!played || (st.pv[2] == nullMove && st.replyReady && st.bestScore == 0)) << c.record;
        EXPECT_EQ(std::memcmp(&st.position, played ? &after : &before, sizeof(Position)), 0) << c.record;
    }
    setGame(st, true, "e2e4");  // nor after a set-up position, nor late in the game
    st.standardStart = false;
    EXPECT_FALSE(playFromBook(st, opponentMove(st, "d7d5")));
    st.standardStart = true;
    st.lastGameMove = bookMoveLimit;
    EXPECT_FALSE(playFromBook(st, opponentMove(st, "d7d5")));
}

TEST_F(Book, EveryShippedLineIsLegalFromTheStart) {
    for (const char* file : {TAMBLOR_BOOK_DIR "/tamblorwhite.doc", TAMBLOR_BOOK_DIR "/tamblorblack.doc"}) {
        auto table = std::make_unique<BookTable>();
        loadBookTable(*table, file, st);
        EXPECT_GT(table->count, 100) << file;
        EXPECT_LT(table->count, bookCapacity) << file;
        for (int i = 0; i < table->count; ++i) {
            const std::string_view line = table->entries[i].view();
            if (line == "#") continue;
            ASSERT_EQ(line.size() % 4, 0u) << line;
            setGame(st, true, "");
            for (size_t at = 0; at < line.size(); at += 4) {
                const bool white = at % 8 == 0;
                Move move = textToMove(white, line.substr(at, 4), true);
                ASSERT_TRUE(move != nullMove && matchLegalMove(st, move, white)) << line << " at " << at / 4;
                makeMove(st, move);
            }
        }
    }
}

}  // namespace
