// Does a bishop or rook of a colour look at the square along a free line?
#include "tambloreval/eval_rules.h"

namespace {

constexpr int diagonals[4] = {9, 11, -9, -11};
constexpr int lines[4] = {10, -10, 1, -1};

// The frame is never empty, so every walk ends without a bounds test.
inline bool firstPieceIs(const std::uint8_t* b, int square, const int (&steps)[4], int piece) {
    for (int d : steps) {
        int t = square + d;
        while (b[t] == emptySquare) t += d;
        if (b[t] == piece) return true;
    }
    return false;
}

}  // namespace

namespace evalrules {

bool whiteBishopSees(int square, const EngineState& st) {
    return firstPieceIs(st.position.squares, square, diagonals, whiteBishop);
}
bool whiteRookSees(int square, const EngineState& st) {
    return firstPieceIs(st.position.squares, square, lines, whiteRook);
}
bool blackBishopSees(int square, const EngineState& st) {
    return firstPieceIs(st.position.squares, square, diagonals, blackBishop);
}
bool blackRookSees(int square, const EngineState& st) {
    return firstPieceIs(st.position.squares, square, lines, blackRook);
}

}  // namespace evalrules
