#pragma once
// Constant data and helpers shared by the evaluation's own files; not used elsewhere.
#include <array>
#include <bit>
#include <cstdint>

#include "tambloreval/board_sets.h"
#include "tamblorvars/tamblorvars.h"

namespace evalrules {

constexpr bool onBoard(int s) { return s >= 21 && s <= 98 && s % 10 != 0 && s % 10 != 9; }
constexpr int fileOfSquare(int s) { return s % 10; }
constexpr int rankOfSquare(int s) { return s / 10 - 1; }

// Material by square value; kings and non-pieces count nothing.
constexpr std::array<int, 28> materialValue = [] {
    std::array<int, 28> v{};
    v[whitePawn] = v[blackPawn] = 95;
    v[whiteKnight] = v[blackKnight] = 305;
    v[whiteBishop] = v[blackBishop] = 310;
    v[whiteRook] = v[blackRook] = 490;
    v[whiteQueen] = v[blackQueen] = 925;
    return v;
}();

// The corner region a square belongs to (the corner's square), 0 in the middle, 99 off the board.
constexpr std::array<int, 128> cornerOf = [] {
    std::array<int, 128> t{};
    for (int s = 0; s < 128; ++s) {
        if (!onBoard(s)) {
            t[s] = 99;
            continue;
        }
        const int f = fileOfSquare(s), r = rankOfSquare(s);
        const bool low = r <= 2, high = r >= 7, left = f <= 2, right = f >= 7;
        t[s] = low && left ? 21 : low && right ? 28 : high && left ? 91 : high && right ? 98 : 0;
    }
    return t;
}();

// 4 in the corners, 2 on the rest of the outer ring, 0 inside, 99 off the board.
constexpr std::array<int, 128> edgeWeight = [] {
    std::array<int, 128> t{};
    for (int s = 0; s < 128; ++s) {
        if (!onBoard(s)) {
            t[s] = 99;
            continue;
        }
        const bool fileEdge = fileOfSquare(s) == 1 || fileOfSquare(s) == 8;
        const bool rankEdge = rankOfSquare(s) == 1 || rankOfSquare(s) == 8;
        t[s] = fileEdge && rankEdge ? 4 : fileEdge || rankEdge ? 2 : 0;
    }
    return t;
}();

// Passed pawns on the wings are harder to stop.
constexpr std::array<int, 128> wingPasserBonus = [] {
    std::array<int, 128> t{};
    for (int s = 0; s < 128; ++s) {
        if (!onBoard(s) || rankOfSquare(s) < 2 || rankOfSquare(s) > 7) continue;
        const int f = fileOfSquare(s);
        t[s] = f == 1 || f == 8 ? 20 : f == 2 || f == 7 ? 10 : 0;
    }
    return t;
}();

// Passed-pawn bonuses by the rank counted from the pawn's own side (index 2..7).
constexpr int middleGameLonePasser[8] = {0, 0, 6, 6, 18, 39, 62, 70};
constexpr int middleGameConnectedPasser[8] = {0, 0, 9, 9, 27, 51, 75, 84};
constexpr int endingLonePasser[8] = {0, 0, 9, 9, 27, 51, 75, 84};
constexpr int endingConnectedPasser[8] = {0, 0, 12, 12, 36, 63, 90, 102};

constexpr int kingSafetyScore[6] = {160, 128, 96, 64, 32, 0};  // by safe zone squares

// Material thresholds the rules switch on.
constexpr int middleGamePieces = 1725;  // above: middle game
constexpr int queenOnly = 925;

// The king terms, given the board's sets.
void kingSafety(NodeState& node, EngineState& state, const BoardSets& sets);

// The squares strictly between two squares (as set bits) on one line; empty when they
// share no line.
inline constexpr std::array<std::array<std::uint64_t, 64>, 64> squaresBetween = [] {
    std::array<std::array<std::uint64_t, 64>, 64> t{};
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            const int df = (b & 7) - (a & 7), dr = (b >> 3) - (a >> 3);
            if ((df == 0 && dr == 0) || (df != 0 && dr != 0 && df != dr && df != -dr)) continue;
            const int stepF = (df > 0) - (df < 0), stepR = (dr > 0) - (dr < 0);
            for (int f = (a & 7) + stepF, r = (a >> 3) + stepR; 8 * r + f != b; f += stepF, r += stepR)
                t[a][b] |= std::uint64_t{1} << (8 * r + f);
        }
    return t;
}();

// Is the square (a set bit) seen along its file or rank by one of straightMen, or along a
// diagonal by one of diagonalMen: is nothing of occupied between it and the man? Each
// man is asked only on his own kind of line.
inline bool seenBySliders(std::uint64_t occupied, int bit, std::uint64_t straightMen, std::uint64_t diagonalMen) {
    std::uint64_t men = (straightMen & straightLines[bit]) | (diagonalMen & diagonalLines[bit]);
    for (; men != 0; men &= men - 1)
        if ((squaresBetween[bit][std::countr_zero(men)] & occupied) == 0) return true;
    return false;
}

// The pawn terms are a function of the board's pawns and of the node's pawn sets, which
// lag behind the board below a lazily evaluated node; both are the key.
struct PawnKey {
    std::uint64_t boardWhite, boardBlack;  // board sets
    std::uint64_t setWhite, setBlack;      // the node's pawn sets
    bool operator==(const PawnKey&) const = default;
};
struct PawnMemo {
    PawnKey key;
    std::int32_t structure;
    std::int32_t passers;                     // valid when both sides keep more than middleGamePieces
    std::uint64_t whitePassers, blackPassers;  // board sets of the pawns with no enemy pawn ahead
    bool filled, passersKnown;
};
// The slot for these pawns; its key may be another's.
PawnMemo& pawnMemo(const PawnKey& key);

// The squares on the lines of these men: their files and ranks, and their diagonals.
// A square off them all is seen by none of them.
inline std::uint64_t linesOf(std::uint64_t straightMen, std::uint64_t diagonalMen) {
    std::uint64_t lines = 0;
    for (; straightMen != 0; straightMen &= straightMen - 1) lines |= straightLines[std::countr_zero(straightMen)];
    for (; diagonalMen != 0; diagonalMen &= diagonalMen - 1) lines |= diagonalLines[std::countr_zero(diagonalMen)];
    return lines;
}

// One pawn's doubled, isolated, weak and supported terms, a part of pawnStructure.
int whitePawnShape(int square, const NodeState& node, const EngineState& state);
int blackPawnShape(int square, const NodeState& node, const EngineState& state);

// Ending adjustments of a positive (White) or negative (Black) score.
void scaleWhiteLead(NodeState& node, const EngineState& state);
void scaleBlackLead(NodeState& node, const EngineState& state);

}  // namespace evalrules
