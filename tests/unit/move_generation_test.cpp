// Which moves are generated is proved by the perft counts; these fix the order, which
// decides the order the search tries them in.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

namespace {

using Generator = void (*)(Move*&, const EngineState&);

// The words a generator writes, sentinel included, in the order written.
std::vector<Move> generate(Generator generator, const EngineState& st) {
    MoveList list;
    Move* cursor = list.moves;
    generator(cursor, st);
    return std::vector<Move>(list.moves, cursor);
}

// The sentinel followed by the words of the given coordinate moves ("e2e4 ...").
std::vector<Move> words(const std::string& text, int kind) {
    std::vector<Move> result{listSentinel};
    std::istringstream in(text);
    for (std::string m; in >> m;)
        result.push_back(makeMoveWord(21 + (m[0] - 'a') + 10 * (m[1] - '1'),
                                      21 + (m[2] - 'a') + 10 * (m[3] - '1'), kind));
    return result;
}

class MoveGeneration : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    // White to move: the stored board is the game board.
    void load(const char* fen) { ASSERT_TRUE(parsePositionText(false, fen, st)) << fen; }
};

TEST_F(MoveGeneration, StartPositionOrder) {
    st.position = st.startPosition;
    EXPECT_EQ(generate(generateWhiteQuietMoves, st),
              words("h2h3 h2h4 g2g3 g2g4 f2f3 f2f4 e2e3 e2e4 d2d3 d2d4 c2c3 c2c4 b2b3 b2b4 "
                    "a2a3 a2a4 g1f3 g1h3 b1a3 b1c3", kindQuiet));
    EXPECT_EQ(generate(generateBlackQuietMoves, st),
              words("g8h6 g8f6 b8c6 b8a6 h7h6 h7h5 g7g6 g7g5 f7f6 f7f5 e7e6 e7e5 d7d6 d7d5 "
                    "c7c6 c7c5 b7b6 b7b5 a7a6 a7a5", kindQuiet));
}

TEST_F(MoveGeneration, EnPassantComesFirstLowerSquareFirst) {
    load("4k3/8/5n2/2PpP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(generate(generateWhiteCaptures, st),
              (std::vector<Move>{listSentinel, makeMoveWord(63, 74, kindEnPassant),
                                 makeMoveWord(65, 74, kindEnPassant), makeMoveWord(65, 76, kindCapture)}));
}

TEST_F(MoveGeneration, PromotionsQueenRookBishopKnight) {
    load("r3k3/1P6/8/8/8/8/6p1/4KN2 w - - 0 1");
    std::vector<Move> white{listSentinel}, black{listSentinel};
    for (int to : {91, 92})
        for (int piece : {whiteQueen, whiteRook, whiteBishop, whiteKnight})
            white.push_back(makeMoveWord(82, to, to == 91 ? kindCapture : kindQuiet, piece));
    for (int piece : {blackQueen, blackRook, blackBishop, blackKnight})
        black.push_back(makeMoveWord(37, 26, kindCapture, piece));

    std::vector<Move> found = generate(generateWhiteCaptures, st);
    for (Move m : generate(generateWhiteQuietMoves, st))
        if (moveFrom(m) == 82) found.push_back(m);
    EXPECT_EQ(found, white);
    found = generate(generateBlackCaptures, st);
    EXPECT_EQ(found, black);
}

}  // namespace
