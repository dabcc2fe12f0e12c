// The board after a quiet move differs from the one before only on two squares: the
// from-square is empty and the to-square holds the piece. The walks below read the board
// as it will be, without making the move.
#include "tamblortopply1/quiet_move_check.h"

namespace {

// The sliders of one colour that move along step d (-11..11).
bool slidesAlong(int value, int d, bool white) {
    const int own = white ? 1 : 2;
    if ((value & 3) != own) return false;
    const int type = value >> 2;
    const bool straight = d == 1 || d == -1 || d == 10 || d == -10;
    return type == 4 || type == (straight ? 3 : 2);  // queen, or rook / bishop
}

struct BoardAfter {
    const std::uint8_t* b;
    int from, to, piece;

    int at(int s) const { return s == to ? piece : s == from ? emptySquare : b[s]; }
    // First occupied square from s along d, s excluded.
    int firstOccupied(int s, int d) const {
        s += d;
        while (at(s) == emptySquare) s += d;
        return s;
    }
};

}  // namespace

bool isSafeSilentQuietMove(const EngineState& state, Move move, bool moverIsWhite) {
    const Position& p = state.position;
    const BoardAfter after{p.squares, moveFrom(move), moveTo(move), p.squares[moveFrom(move)]};
    const int from = after.from, to = after.to, piece = after.piece;
    if (moveKind(move) != kindQuiet || movePromotion(move) != 0 || p.squares[to] != emptySquare ||
        piece == whiteKing || piece == blackKing)
        return false;

    // A pin through the from-square.
    const int ownKing = moverIsWhite ? p.whiteKingSquare : p.blackKingSquare;
    int d = state.queenDirection[from][ownKing];
    if (d != 0 && after.firstOccupied(from, d) == ownKing &&
        slidesAlong(after.at(after.firstOccupied(from, -d)), d, !moverIsWhite))
        return false;

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
        if (d != 0 && after.firstOccupied(to, d) == king) return false;
        break;
    case whiteRook: case blackRook:
        d = state.rookDirection[to][king];
        if (d != 0 && after.firstOccupied(to, d) == king) return false;
        break;
    case whiteQueen: case blackQueen:
        d = state.queenDirection[to][king];
        if (d != 0 && after.firstOccupied(to, d) == king) return false;
        break;
    default:
        return false;
    }

    // A discovered check through the from-square.
    d = state.queenDirection[from][king];
    return d == 0 || !slidesAlong(after.at(after.firstOccupied(king, -d)), d, moverIsWhite);
}
