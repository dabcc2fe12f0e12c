// The search's own rules on hand-made positions: mate, stalemate and draw scores, the
// fifty-move rule, repetitions on the path, the moves searched in check, killers, capture
// order, null-move depths, extension credit, and quiet moves judged before they are made.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>

#include "tamblorbasis/tamblorbasis.h"
#include "tambloreval/tambloreval.h"
#include "tamblorhash/position_key.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblortopply1/move_check_before.h"
#include "tamblortopply1/tamblortopply1.h"
#include "tamblorwinboard/tamblorwinboard.h"
#include "test_support.h"

namespace {

constexpr Move quiet(int from, int to) { return makeMoveWord(from, to, kindQuiet); }

class SearchRules : public EngineTest {
protected:
    NodeState parent{};

    // The engine plays White; the node searched is entered by `move` from a parent at
    // `parentPly` (odd: the engine moves into it).
    void load(std::string_view fen, int parentPly) {
        clearMainTable();
        clearScoreTable();
        ASSERT_TRUE(parsePositionText(fen.find(" b ") != std::string_view::npos, fen, st)) << fen;
        st.ply = parentPly;
        st.searchDepth = 3;
        st.stopSearch = 0;
        st.outputEnabled = false;
        const bool whiteToMove = (parentPly & 1) != 0;
        const int king = whiteToMove ? st.position.whiteKingSquare : st.position.blackKingSquare;
        st.plyInfo[parentPly + 1].inCheck = isSquareAttacked(st, king, !whiteToMove) ? 1 : 0;
        parent = NodeState{};
        parent.extensionBudget = 10;
        parent.extensionCredit = -12;
        initMaterial(parent, st);
        prepareRootTables(st);
        parent.positionalTerm = sumPositional(st);
        initPawnSets(parent, st);
        evaluate(parent, true, 0, st);
        lazyScore(parent, st);
        computeKey(parent, st);
    }

    // The node's value with a full window (a max node starts low, a min node high).
    int search(Move move, int depth) {
        const bool maxNode = ((st.ply + 1) & 1) != 0;
        bool legal = false;
        int value = 0;
        PvLine line;
        searchNode(st, legal, move, depth, line, value, parent, maxNode ? -mateScore : mateScore,
                   maxNode ? mateScore : -mateScore);
        --st.ply;
        EXPECT_TRUE(legal);
        return value;
    }
};

TEST_F(SearchRules, MateAndStalemateScoresCountFromThePly) {
    load("3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 2);  // Black mates at ply 2
    EXPECT_EQ(search(quiet(94, 24), 1), -31998);      // the engine mated at ply 3
    load("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 1);
    EXPECT_EQ(search(quiet(24, 94), 1), 32000);  // the opponent mated at ply 2
    load("7k/8/5QK1/8/8/8/8/8 w - - 0 1", 1);
    EXPECT_EQ(search(quiet(76, 86), 2), 0);  // Qf7 stalemates
}

TEST_F(SearchRules, FiftyMovesEndAtOneHundredUnlessInCheckAndAlwaysAtOneHundredAndOne) {
    const char* fen = "7k/6pp/8/8/8/8/8/R5K1 w - - 0 1";
    const Move check = quiet(21, 91), quietMove = quiet(27, 37);  // Ra8 mate and Kg2
    // At 100 in check mate still counts.
    for (auto [count, move, value] : {std::tuple{99, check, 32000}, {99, quietMove, 0}, {100, check, 0}}) {
        load(fen, 1);
        parent.reversibleCount = count;
        EXPECT_EQ(search(move, 3), value) << count;
    }
}

TEST_F(SearchRules, APositionFourPliesBackOnThePathIsADraw) {
    // Black's king steps h8-g8 into a node at ply 5, the engine far ahead.
    const char* fen = "7k/8/8/8/8/8/8/QR4K1 b - - 0 1";
    const Move move = quiet(98, 97);
    for (int back : {0, 2, 4}) {
        load(fen, 4);
        Position after = st.position;
        std::swap(after.squares[98], after.squares[97]);
        after.blackKingSquare = 97;
        const PositionKeyPair key = keyOfPosition(after, st);
        for (RepetitionRecord& record : st.repetitionRecords) record = {};
        if (back > 0) st.repetitionRecords[5 - back] = {key.low, key.high, 0};
        parent.reversibleCount = 3;
        const int value = search(move, 3);  // two plies back the other side was to move
        EXPECT_TRUE(back == 4 ? value == 0 : value > 900) << back << " " << value;
    }
}

// Ordering and extension rules (killers, capture order, extension credit) change only how
// well the engine plays, which matches measure; a check evasion wrongly skipped is an error.
using MoveOrdering = EngineTest;

TEST_F(MoveOrdering, OnlyMovesThatMayAnswerTheCheckAreSkipped) {
    ASSERT_TRUE(parsePositionText(false, "1n2k3/P7/8/3q4/2P5/8/8/3QK3 w - - 0 1", st));
    // King on e1 checked by a knight that went h4-f3: no piece can block the knight, but
    // one may block the diagonal e1-h4 the knight uncovered; king moves and captures go.
    const Move knightCheck = quiet(58, 46);
    const int king = 25;
    EXPECT_TRUE(mayAnswerCheck(st, knightCheck, quiet(25, 26), king));
    EXPECT_FALSE(mayAnswerCheck(st, knightCheck, quiet(22, 45), king));
    EXPECT_TRUE(mayAnswerCheck(st, knightCheck, quiet(28, 47), king));
    EXPECT_TRUE(mayAnswerCheck(st, knightCheck, makeMoveWord(22, 64, kindCapture), king));
    EXPECT_FALSE(mayAnswerCheck(st, knightCheck, makeMoveWord(25, 27, kindCastling), king));
}

// Orderings and depths that change only how well the engine plays, but change it a lot.
TEST_F(MoveOrdering, KillersCaptureOrderNullMoveDepthsAndExtensionCredit) {
    const Move a = quiet(21, 31), b = quiet(22, 32), c = quiet(23, 33), d = quiet(24, 34);
    const struct { Move cut; Move expected[3]; } killerCases[] = {
        {b, {b, a, c}}, {c, {a, c, b}}, {d, {a, b, d}}, {a, {a, b, c}}};
    for (const auto& k : killerCases) {
        Move* killers = st.plyInfo[5].killers;
        killers[0] = a, killers[1] = b, killers[2] = c;
        updateKillers(st, k.cut, 4, false);
        EXPECT_TRUE(std::equal(killers, killers + 3, k.expected)) << moveTo(k.cut);
    }

    // A capturing promotion first, then a pawn taking the queen (64 x 18 - 1) before the
    // queen taking it (64 x 18 - 17), the under-promotions by the piece they bring.
    ASSERT_TRUE(parsePositionText(false, "1n2k3/P7/8/3q4/2P5/8/8/3QK3 w - - 0 1", st));
    const Move queenTakes = makeMoveWord(24, 64, kindCapture), pawnTakes = makeMoveWord(53, 64, kindCapture);
    const auto promotion = [](int piece) { return makeMoveWord(81, 92, kindCapture, piece); };
    const Move picks[] = {promotion(whiteQueen), promotion(whiteRook),   pawnTakes,
                          queenTakes,            promotion(whiteBishop), promotion(whiteKnight)};
    MoveList list;
    Move* cursor = list.moves;
    generateWhiteCaptures(cursor, st);
    ASSERT_EQ(cursor - list.moves, 7);
    for (Move* slot = cursor - 1; slot > list.moves; --slot) pickBestCapture(list.moves + 1, slot, st);
    EXPECT_TRUE(std::equal(picks, picks + 6, std::make_reverse_iterator(cursor)));

    EXPECT_EQ(std::tuple(nullMoveDepth(2), nullMoveDepth(5), nullMoveDepth(6), nullMoveDepth(9)),
              std::tuple(1, 3, 3, 6));

    // Two check evasions on one path: the first only earns credit, the second a ply.
    NodeFrame frame{};
    frame.node.extensionCredit = -12;
    frame.node.extensionBudget = 10;
    frame.remaining = 3;
    creditExtension(frame, 8);
    EXPECT_EQ(std::make_pair(frame.node.extensionCredit, frame.remaining), std::make_pair(-4, 3));
    creditExtension(frame, 8);
    EXPECT_EQ(std::make_pair(frame.node.extensionCredit, frame.remaining), std::make_pair(-4, 4));
    EXPECT_EQ(frame.node.extensionBudget, 9);
}

// A quiet move or a capture judged on the board before it: safe and silent exactly when,
// once made, it leaves its king unattacked and gives no check (pins, moves along a pin,
// taking the pinner, direct and discovered checks, pawn pushes); king moves are never
// vouched for.
TEST_F(SearchRules, AMoveIsJudgedBeforeItIsMadeAsAfter) {
    const char* const positions[] = {
        "4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1",       "4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1",
        "4k3/8/8/8/4N3/8/8/4RK2 w - - 0 1",        "3k4/8/8/2B5/3P4/8/8/Q3K3 w - - 0 1",
        "8/8/3k4/8/1Q6/4P3/2B5/4K3 w - - 0 1",     "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w - - 0 1",
        "4k3/8/8/3p4/8/8/2q5/4K2R b - - 0 1",      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "4k3/8/1n6/8/1b6/8/3B4/4K3 w - - 0 1",     "3rk3/8/8/3n4/8/3B4/3P4/3K4 b - - 0 1",
    };
    int judged = 0;
    for (const char* fen : positions) {
        ASSERT_TRUE(parsePositionText(false, fen, st)) << fen;
        for (const bool white : {true, false}) {
            const int king = white ? st.position.whiteKingSquare : st.position.blackKingSquare;
            if (isSquareAttacked(st, king, !white)) continue;
            Move moves[moveListCapacity];
            Move* cursor = moves;
            *cursor++ = listSentinel;
            (white ? generateWhiteQuietMoves : generateBlackQuietMoves)(cursor, st);
            (white ? generateWhiteCaptures : generateBlackCaptures)(cursor, st);
            for (const Move* m = moves + 1; m < cursor; ++m) {
                const Move move = *m;
                const bool capture = moveKind(move) == kindCapture;
                if ((!capture && moveKind(move) != kindQuiet) || movePromotion(move) != 0) continue;
                if (st.position.squares[moveTo(move)] >= whiteKing) continue;  // no king is taken in play
                const bool kingMove = moveFrom(move) == king;
                const bool judgedSafe =
                    capture ? isSafeSilentMove<true>(st, move, white) : isSafeSilentMove(st, move, white);
                PositionSnapshot before;
                saveSnapshot(before, st);
                st.ply = white ? 1 : 2;  // the child's ply: White moved into an even one
                ++st.ply;
                st.plyInfo[st.ply].inCheck = 0;
                makeMove(st, move);
                const bool legal = isLegalAfterMove(st, move, !white);
                updateCheckFlag(st, move, !white);
                const bool checks = st.plyInfo[st.ply + 1].inCheck > 0;
                restoreSnapshot(before, st);
                EXPECT_EQ(judgedSafe, !kingMove && legal && !checks) << fen << " move " << std::hex << move;
                // The shortcut for a man whose square exposes no king must agree.
                if (!capture && fromSquareIsQuiet(st, moveFrom(move), white)) {
                    EXPECT_EQ(isSafeQuietMoveFromQuietSquare(st, move, white), judgedSafe)
                        << fen << " quiet square, move " << std::hex << move;
                }
                ++judged;
            }
        }
    }
    EXPECT_GT(judged, 100);
}

// With its clock inside the reserve the engine answers after the first iteration, and
// does not start a second one it would have to cut: each such move costs next to nothing,
// so an increment refills the clock instead of the flag falling.
TEST_F(SearchRules, AClockInsideItsReserveAnswersAfterTheFirstIteration) {
    load("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8", 0);
    recordGamePosition(st, st.position, st.startMove, true, castlingByte(st.position));
    st.lastGameMove = -1;
    setDefaultClock(st);
    setClock(st, "120");  // 1.2 s, less than the reserve
    think(st, nullMove);
    EXPECT_NE(st.pv[1], nullMove);
    EXPECT_EQ(st.searchDepth, 3);
    EXPECT_EQ(st.stopSearch, 0);
}

}  // namespace
