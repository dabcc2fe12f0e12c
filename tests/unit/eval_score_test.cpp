// Values of the static evaluation: the root tables, the king terms, the piece rules,
// the unstoppable pawn and the ending scales.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "eval_test_support.h"

namespace {

const char* const startFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class Evaluation : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = makeEngineState();
    EngineState& st = *state;

    NodeState rootOf(const std::string& fen, int ply = 1) {
        setBoard(st, fen);
        return evaluateAtRoot(st, ply);
    }
    void shift(int from, int to, int piece) {
        st.position.squares[from] = emptySquare;
        st.position.squares[to] = static_cast<std::uint8_t>(piece);
    }
};

TEST_F(Evaluation, StartPositionAtTheRoot) {
    setBoard(st, startFen);
    EXPECT_EQ(sumPositional(st), 10);
    prepareRootTables(st);
    EXPECT_EQ(sumPositional(st), -20);
    prepareRootTables(st);  // the early-queen and development nudges must not add up
    prepareRootTables(st);
    EXPECT_EQ(sumPositional(st), -20);
    const NodeState n = evaluateAtRoot(st);
    EXPECT_EQ(n.score, -20);
    EXPECT_EQ(n.whiteMaterial, 3895);
    EXPECT_EQ(n.blackMaterial, 3895);
    EXPECT_EQ(n.whitePawnMaterial, 760);
    setBoard(st, startFen, true);  // stored with the engine not to move, as at a ply-2 root
    EXPECT_EQ(evaluateAtRoot(st, 2).score, -20);
    // Three developed minors and a lost castling right cancel White's early-queen bonus.
    setBoard(st, "rnbqkbnr/pppppppp/8/8/8/2NBBN2/PPPPPPPP/R2QK2R w Qkq - 0 1");
    prepareRootTables(st);
    EXPECT_FALSE(st.whiteEarlyQueen);
    EXPECT_TRUE(st.blackEarlyQueen);
}

TEST_F(Evaluation, PositionalDeltas) {
    setBoard(st, startFen);
    prepareRootTables(st);
    shift(35, 55, whitePawn);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(35, 55, kindQuiet), emptySquare), 14);  // e2e4
    EXPECT_EQ(positionalDelta(st, nullMove, emptySquare), 0);
    // King-side castling: the king's move word only, the rook already on f1, bonus 30.
    setBoard(st, "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
    prepareRootTables(st);
    shift(25, 27, whiteKing);
    shift(28, 26, whiteRook);
    EXPECT_EQ(positionalDelta(st, makeMoveWord(25, 27, kindCastling), emptySquare), 30);
}

TEST_F(Evaluation, KingDangerAndTheLiftedKingPutBack) {
    const struct { const char* fen; int white, black; } cases[] = {
        {"7k/8/8/8/8/7r/7r/K6r w - - 0 1", 160, 0},  // rooks sweep ranks 1-3 through the lifted king
        {"7k/8/8/8/8/nnn5/7r/K6r w - - 0 1", 160, 0},  // squares Black's pieces stand on are unsafe
        {"7k/8/5NNN/8/8/8/8/R3K3 w - - 0 1", 0, 32},   // four safe squares
        {"7k/8/8/8/8/8/8/QR2K3 w - - 0 1", 0, 0},      // enough material, but a free zone
        {"7k/8/8/8/8/8/6q1/7K w - - 0 1", 0, 0},       // a queen alone is too little to look
        {startFen, 0, 0},
    };
    for (const auto& c : cases) {
        setBoard(st, c.fen);
        NodeState n{};
        initMaterial(n, st);
        const Position before = st.position;
        kingSafety(n, st);
        EXPECT_EQ(n.whiteKingDanger, c.white) << c.fen;
        EXPECT_EQ(n.blackKingDanger, c.black) << c.fen;
        EXPECT_EQ(0, std::memcmp(&before, &st.position, sizeof before)) << c.fen;
    }
}

TEST_F(Evaluation, KingPlacement) {
    const struct { const char* fen; int expected; } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/5P2/8/PPPPP1PP/RNBQ1RK1 w kq - 0 1", -10},  // g1 king, no pawn on f2 or e3
        {"rnbqkbnr/pppppppp/8/8/5P2/4P3/PPPP2PP/RNBQ1RK1 w kq - 0 1", 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPP1P/RNBQKBNR w KQkq - 0 1", -20},  // may castle short, g-pawn gone
        {"rnbqkbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1", -150},  // walked up the board
        {"rnbqkbnr/pppppppp/8/8/8/8/P3PPPP/2KRQBNR w kq - 0 1", -40 - 20 - 10},  // c1, b-pawn gone, open c-file
        {"rnbq1rk1/ppppp1pp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1", 10},  // Black on g8, no f7 or e6 pawn
        {"8/8/8/3k4/8/8/8/4K2r w - - 0 1", 4 * 1 - 4 * 7},  // ending: centralising, four times against a rook
        {"rr2k3/8/8/8/8/8/8/4K3 w - - 0 1", 1 - 4 * 1},     // two rooks: the plain table value
    };
    for (const auto& c : cases) EXPECT_EQ(rootOf(c.fen).kingPlacement, c.expected) << c.fen;
}

TEST_F(Evaluation, QuiescenceKeepsTheInheritedTerms) {
    NodeState n = rootOf("r1bqkbnr/pppp1ppp/2n5/4P3/8/8/PPP1PPPP/RNBQKBNR w KQkq - 0 1");
    n.pawnStructure = 777;
    n.whiteKingDanger = 55;
    evaluate(n, false, -1, st);  // no pawn change and no king safety below depth 0
    EXPECT_EQ(n.pawnStructure, 777);
    EXPECT_EQ(n.whiteKingDanger, 55);
    evaluate(n, false, 0, st);
    EXPECT_EQ(n.whiteKingDanger, 0);
}

TEST_F(Evaluation, PieceRulesAndTheUnstoppablePawn) {
    const struct { const char* fen; int ply, expected; } cases[] = {
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 1, 20},           // rook on an open file
        {"4k3/B7/1p6/8/8/8/8/4K3 w - - 0 1", 1, -120 + 28},  // bishop trapped on a7, reach from rank 7
        // Bishop pair +30, each reaching rank 7 (+20) and losing 4 for the own pawn on its colour.
        {"4k3/8/8/8/8/PP6/8/2B1KB2 w - - 0 1", 1, 20 + 20 - 4 + 30 - 4},
        {"2b1kb2/8/pp6/8/8/8/8/4K3 w - - 0 1", 1, -(20 + 20 - 4 + 30 - 4)},
        // The e5 pawn outruns the a1 king whoever moves; the d6 king catches it.
        {"8/8/8/4P3/8/8/8/k3K3 w - - 0 1", 1, 32 * 5 + 400},
        {"8/8/8/4P3/8/8/8/k3K3 w - - 0 1", 2, 560},
        {"8/8/3k4/4P3/8/8/8/4K3 w - - 0 1", 1, 0},
        {"8/8/3k4/4P3/8/8/8/4K3 w - - 0 1", 2, 0},
        // Black's e4 pawn against the h5 king, four steps from e1: in time only with White to move.
        {"k7/8/8/7K/4p3/8/8/8 w - - 0 1", 1, 0},
        {"k7/8/8/7K/4p3/8/8/8 w - - 0 1", 2, -560},
    };
    for (const auto& c : cases) EXPECT_EQ(rootOf(c.fen, c.ply).pieceTerms, c.expected) << c.fen << " ply " << c.ply;
}

TEST_F(Evaluation, EndingScales) {
    enum Scale { by32, loneKingBonus, none };
    const struct { const char* fen; Scale scale; } cases[] = {
        {"8/8/8/4k3/8/8/8/2B1KN2 w - - 0 1", by32},  // knight and bishop against a lone king
        {"2b1kn2/8/8/8/4K3/8/8/8 w - - 0 1", none},  // ... but Black's are left as they are
        {"4k3/8/8/8/8/3n4/8/R3K3 w - - 0 1", by32},  // rook against a lone minor
        {"4k3/8/8/8/8/3b4/8/R3K3 w - - 0 1", by32},
        {"4k2r/8/8/8/8/8/8/RN2K3 w - - 0 1", by32},  // rook and knight against a rook
        {"4k3/pp6/8/8/8/8/8/R3K3 w - - 0 1", none},  // a rook against pawns keeps its lead
        // The a-pawn with the defending king in the corner, and a bishop that cannot cover a8.
        {"k7/8/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"1k6/8/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"8/k7/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"8/1k6/8/8/8/8/P7/4K3 w - - 0 1", by32},
        {"k7/8/8/8/8/8/P7/2B1K3 w - - 0 1", by32},
        {"4k3/p7/8/8/8/8/8/K7 w - - 0 1", by32},  // Black's twin in the a1 corner
        {"2k5/8/8/8/8/8/P7/4K3 w - - 0 1", loneKingBonus},  // king on c8 is too far
        {"k7/8/8/8/8/8/PP6/4K3 w - - 0 1", loneKingBonus},  // not all pawns on the a-file
    };
    for (const auto& c : cases) {
        const NodeState n = rootOf(c.fen);
        const int raw = termSum(n) + rookVersusMinors(n) + bishopVersusKnight(n);
        ASSERT_GT(std::abs(raw), 100) << c.fen;  // big enough for the scale to show
        const int expected = c.scale == by32 ? raw / 32 : c.scale == none ? raw : raw + std::min(2 * raw, 350);
        EXPECT_EQ(n.score, expected) << c.fen;
    }
    // A Black rook against a minor also counts the White king's edge weight (2 on e1).
    NodeState n = rootOf("r3k3/8/8/8/8/8/8/3NK3 w - - 0 1");
    EXPECT_EQ(n.score, (termSum(n) + rookVersusMinors(n)) / 32 - 4);
    EXPECT_EQ(rootOf("4k3/8/8/8/8/8/8/3BK3 w - - 0 1").score, 0);  // a lone bishop wins nothing
    // The balance corrections: two minors against a rook, a bishop against a knight.
    n = rootOf("r2qk3/8/8/8/8/8/8/1NBQK3 w - - 0 1");
    EXPECT_EQ(rookVersusMinors(n), 70);
    EXPECT_EQ(n.score, termSum(n) + 70);
    EXPECT_EQ(bishopVersusKnight(rootOf("4k3/pp6/4n3/8/8/8/PP6/2B1K3 w - - 0 1")), 20);
}

}  // namespace
