#pragma once
// Legality and check of a quiet move or a plain capture judged before it is made, for the
// children the search cuts without playing their move. The board after such a move differs
// from the one before only on two squares: the from-square is empty and the to-square holds
// the piece (a taken piece is simply gone); the walks below read the board as it will be.
// Inline: it runs for most moves near the horizon.
#include "tamblorvars/tamblorvars.h"

namespace movecheckbefore {

constexpr int nowhere = 0;  // never a playing square

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

// True when the piece, moved from the from-square to the to-square, does not attack the
// enemy king standing on king from there (false for a piece this check does not judge).
inline bool givesNoDirectCheck(const EngineState& state, int piece, int from, int to, int king) {
    using namespace movecheckbefore;
    const std::uint8_t* b = state.position.squares;
    int d;
    switch (piece) {
    case whitePawn:
        return to + 9 != king && to + 11 != king;
    case blackPawn:
        return to - 9 != king && to - 11 != king;
    case whiteKnight: case blackKnight:
        return state.knightStep[king][to] != to - king;
    case whiteBishop: case blackBishop:
        d = state.bishopDirection[to][king];
        return d == 0 || firstPastTo(b, from, to, d) != king;
    case whiteRook: case blackRook:
        d = state.rookDirection[to][king];
        return d == 0 || firstPastTo(b, from, to, d) != king;
    case whiteQueen: case blackQueen:
        d = state.queenDirection[to][king];
        return d == 0 || firstPastTo(b, from, to, d) != king;
    default:
        return false;
    }
}

// True when moving the man from the from-square to the to-square neither leaves its own
// king attacked through the from-square (a pin) nor uncovers a check on the enemy king
// through it. With to = movecheckbefore::nowhere the walks see the board as it stands.
inline bool exposesNoKing(const EngineState& state, int piece, int from, int to, bool moverIsWhite) {
    using namespace movecheckbefore;
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;

    // A pin. The walk away from the king comes first (an enemy slider there is rarer than
    // an open line to the king) and may meet the moved piece, which is no enemy slider;
    // the walk towards the king starts at the from-square.
    const int ownKing = moverIsWhite ? p.whiteKingSquare : p.blackKingSquare;
    int d = state.queenDirection[from][ownKing];
    if (d != 0) {
        const int s = firstPastFrom(b, to, from, -d);
        if (s != to && slidesAlong(b[s], d, !moverIsWhite) && firstPastFrom(b, to, from, d) == ownKing) return false;
    }

    // A discovered check.
    const int king = moverIsWhite ? p.blackKingSquare : p.whiteKingSquare;
    d = state.queenDirection[from][king];
    if (d == 0) return true;
    int s = king - d;
    while (s != to && (s == from || b[s] == emptySquare)) s -= d;
    return !slidesAlong(s == to ? piece : b[s], d, moverIsWhite);
}

// Whether the move is of the kind judged before it is made: no promotion, not by the king,
// a plain capture when asked, else a quiet move.
template <bool capture>
inline bool isJudgedKind(const std::uint8_t* b, Move move, bool moverIsWhite) {
    const int piece = b[moveFrom(move)], target = b[moveTo(move)];
    if (moveKind(move) != (capture ? kindCapture : kindQuiet) || movePromotion(move) != 0 || piece == whiteKing ||
        piece == blackKing)
        return false;
    return capture ? (target & 3) == (moverIsWhite ? 2 : 1) && target < whiteKing : target == emptySquare;
}

// True when no move of the man on the from-square can expose a king through that square,
// judged on the board as it stands. The to-square can then only block such a line, and a
// check the moved piece gives itself is the direct check, asked apart: for every quiet
// move of this man isSafeSilentMove reduces to isSafeQuietMoveFromQuietSquare.
inline bool fromSquareIsQuiet(const EngineState& state, int from, bool moverIsWhite) {
    return exposesNoKing(state, emptySquare, from, movecheckbefore::nowhere, moverIsWhite);
}

// isSafeSilentMove for a quiet move whose from-square is known quiet (fromSquareIsQuiet).
inline bool isSafeQuietMoveFromQuietSquare(const EngineState& state, Move move, bool moverIsWhite) {
    const std::uint8_t* b = state.position.squares;
    if (!isJudgedKind<false>(b, move, moverIsWhite)) return false;
    const int king = moverIsWhite ? state.position.blackKingSquare : state.position.whiteKingSquare;
    return givesNoDirectCheck(state, b[moveFrom(move)], moveFrom(move), moveTo(move), king);
}

// True when the move (of a kind isJudgedKind accepts, from a position where the mover is
// not in check) leaves the mover's king safe and gives no check: what isLegalAfterMove and
// updateCheckFlag would find once it was made. False when it is not so, or not a move of
// that kind.
template <bool capture = false>
inline bool isSafeSilentMove(const EngineState& state, Move move, bool moverIsWhite) {
    const std::uint8_t* b = state.position.squares;
    if (!isJudgedKind<capture>(b, move, moverIsWhite)) return false;
    const int from = moveFrom(move), to = moveTo(move), piece = b[from];
    const int king = moverIsWhite ? state.position.blackKingSquare : state.position.whiteKingSquare;
    return exposesNoKing(state, piece, from, to, moverIsWhite) && givesNoDirectCheck(state, piece, from, to, king);
}
