#pragma once
// Legality and check of a quiet move or a plain capture judged before it is made, for the
// children the search cuts without playing their move. The board after such a move differs
// from the one before only on two squares: the from-square is empty and the to-square holds
// the piece (a taken piece is simply gone); the walks below read the board as it will be.
// Inline: it runs for most moves near the horizon.
#include "tamblorvars/tamblorvars.h"

namespace movecheckbefore {

// The sliders of one colour that move along step d (-11..11).
inline bool slidesAlong(int value, int d, bool white) {
    const int own = white ? 1 : 2;
    if ((value & 3) != own) return false;
    const int type = value >> 2;
    const bool straight = d == 1 || d == -1 || d == 10 || d == -10;
    return type == 4 || type == (straight ? 3 : 2);  // queen, or rook / bishop
}

// First square along d from s (excluded) occupied once the move is made, for walks
// that cannot meet the from-square (they start there or beyond it).
inline int firstPastFrom(const std::uint8_t* b, int to, int s, int d) {
    s += d;
    while (s != to && b[s] == emptySquare) s += d;
    return s;
}

// The same for walks that cannot meet the to-square (they start there), and so see
// the from-square empty.
inline int firstPastTo(const std::uint8_t* b, int from, int s, int d) {
    s += d;
    while (s == from || b[s] == emptySquare) s += d;
    return s;
}

}  // namespace movecheckbefore

// True when the move (no promotion, by a piece other than the king, from a position where
// the mover is not in check; a plain capture when asked, else a quiet move) leaves the
// mover's king safe and gives no check: what isLegalAfterMove and updateCheckFlag would
// find once it was made. False when it is not so, or not a move of that kind.
template <bool capture = false>
inline bool isSafeSilentMove(const EngineState& state, Move move, bool moverIsWhite) {
    using namespace movecheckbefore;
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;
    const int from = moveFrom(move), to = moveTo(move), piece = b[from];
    if (moveKind(move) != (capture ? kindCapture : kindQuiet) || movePromotion(move) != 0 || piece == whiteKing ||
        piece == blackKing)
        return false;
    const int target = b[to];
    if (capture ? (target & 3) != (moverIsWhite ? 2 : 1) || target >= whiteKing : target != emptySquare) return false;

    // A pin through the from-square. The walk away from the king comes first (an enemy
    // slider there is rarer than an open line to the king) and may meet the moved piece,
    // which is no enemy slider; the walk towards the king starts at the from-square.
    const int ownKing = moverIsWhite ? p.whiteKingSquare : p.blackKingSquare;
    int d = state.queenDirection[from][ownKing];
    if (d != 0) {
        const int s = firstPastFrom(b, to, from, -d);
        if (s != to && slidesAlong(b[s], d, !moverIsWhite) && firstPastFrom(b, to, from, d) == ownKing) return false;
    }

    // A direct check from the to-square.
    const int king = moverIsWhite ? p.blackKingSquare : p.whiteKingSquare;
    switch (piece) {
    case whitePawn:
        if (to + 9 == king || to + 11 == king) return false;
        break;
    case blackPawn:
        if (to - 9 == king || to - 11 == king) return false;
        break;
    case whiteKnight: case blackKnight:
        if (state.knightStep[king][to] == to - king) return false;
        break;
    case whiteBishop: case blackBishop:
        d = state.bishopDirection[to][king];
        if (d != 0 && firstPastTo(b, from, to, d) == king) return false;
        break;
    case whiteRook: case blackRook:
        d = state.rookDirection[to][king];
        if (d != 0 && firstPastTo(b, from, to, d) == king) return false;
        break;
    case whiteQueen: case blackQueen:
        d = state.queenDirection[to][king];
        if (d != 0 && firstPastTo(b, from, to, d) == king) return false;
        break;
    default:
        return false;
    }

    // A discovered check through the from-square.
    d = state.queenDirection[from][king];
    if (d == 0) return true;
    int s = king - d;
    while (s != to && (s == from || b[s] == emptySquare)) s -= d;
    return !slidesAlong(s == to ? piece : b[s], d, moverIsWhite);
}
