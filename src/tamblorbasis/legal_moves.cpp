// The legal moves of the game, for result claims, the book and the tools: a claim is
// checked by the GUI, so legality is tested with full attack tests, not the search's
// shortcuts.
#include "tamblorbasis/tamblorbasis.h"

bool isLegalGameMove(EngineState& state, Move move, bool moverIsWhite) {
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

int generateLegalMoves(EngineState& state, bool moverIsWhite, Move* legal) {
    MoveList list;
    int count = 0;
    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        if (phase == 0)
            moverIsWhite ? generateWhiteCaptures(cursor, state) : generateBlackCaptures(cursor, state);
        else
            moverIsWhite ? generateWhiteQuietMoves(cursor, state) : generateBlackQuietMoves(cursor, state);
        for (Move* m = list.moves + 1; m < cursor; ++m)
            if (isLegalGameMove(state, *m, moverIsWhite)) legal[count++] = *m;
    }
    return count;
}

Move firstLegalMove(EngineState& state, bool moverIsWhite) {
    Move legal[moveListCapacity];
    return generateLegalMoves(state, moverIsWhite, legal) > 0 ? legal[0] : nullMove;
}
