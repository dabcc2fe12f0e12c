// Whether a side has a legal move, for the command loop's result claims: a claim is
// checked by the GUI, so it is tested with full attack tests, not the search's shortcuts.
#include "tamblorbasis/tamblorbasis.h"

namespace {

bool leavesKingSafe(EngineState& state, Move move, bool moverIsWhite) {
    const Position before = state.position;
    const int king = moverIsWhite ? before.whiteKingSquare : before.blackKingSquare;
    if (moveKind(move) == kindCastling &&
        (isSquareAttacked(state, king, !moverIsWhite) || !isCastlingPathSafe(state, move)))
        return false;
    makeMove(state, move);
    const int kingAfter = moverIsWhite ? state.position.whiteKingSquare : state.position.blackKingSquare;
    const bool safe = !isSquareAttacked(state, kingAfter, !moverIsWhite);
    state.position = before;
    return safe;
}

}  // namespace

Move firstLegalMove(EngineState& state, bool moverIsWhite) {
    MoveList list;
    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        if (phase == 0)
            moverIsWhite ? generateWhiteCaptures(cursor, state) : generateBlackCaptures(cursor, state);
        else
            moverIsWhite ? generateWhiteQuietMoves(cursor, state) : generateBlackQuietMoves(cursor, state);
        for (Move* m = cursor - 1; m > list.moves; --m)
            if (leavesKingSafe(state, *m, moverIsWhite)) return *m;
    }
    return nullMove;
}

bool isLegalGameMove(EngineState& state, Move move, bool moverIsWhite) {
    return leavesKingSafe(state, move, moverIsWhite);
}
