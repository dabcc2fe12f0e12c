// The think driver, in a provisional form until the search arrives: it checks the
// handed move as the root of the search will, and answers with the first legal move
// in the order the search would try it, looking one reply ahead so that mate and
// stalemate are still told apart.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblortop/tamblortop.h"

namespace {

// The legality test reads "in check before the move" from the ply that plays it:
// White's moves are played at even plies, Black's at odd ones.
Move firstLegalMove(EngineState& state, bool white) {
    state.ply = white ? 2 : 3;
    const int king = white ? state.position.whiteKingSquare : state.position.blackKingSquare;
    state.plyInfo[state.ply].inCheck = isSquareAttacked(state, king, !white) ? 1 : 0;

    MoveList list;
    const Position before = state.position;
    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        if (phase == 0)
            (white ? generateWhiteCaptures : generateBlackCaptures)(cursor, state);
        else
            (white ? generateWhiteQuietMoves : generateBlackQuietMoves)(cursor, state);
        for (Move* entry = cursor - 1; *entry != listSentinel; --entry) {
            const Move move = *entry;
            bool legal;
            if (moveKind(move) == kindCastling) {
                legal = isCastlingPathSafe(state, move);
            } else {
                makeMove(state, move);
                legal = isLegalAfterMove(state, move, !white);
                state.position = before;
            }
            if (legal) return move;
        }
    }
    return nullMove;
}

}  // namespace

void think(EngineState& state, Move move) {
    for (int i = 0; i < pvLength; ++i) state.pv[i] = state.emptyPv[i];
    state.bestScore = 0;
    state.searchDepth = 3;
    state.nodeCount = 0;
    state.stopSearch = 0;
    state.replyReady = true;
    state.tablesFresh = false;
    state.rootPosition = state.position;

    if (move != nullMove) {
        // The opponent may not castle out of or through check, nor leave its king attacked.
        bool legal = true;
        if (moveKind(move) == kindCastling)
            legal = !isSquareAttacked(state, state.position.blackKingSquare, true) && isCastlingPathSafe(state, move);
        makeMove(state, move);
        if (legal) legal = !isSquareAttacked(state, state.position.blackKingSquare, true);
        if (!legal) {
            state.replyReady = false;
            return;
        }
    }

    const Move reply = firstLegalMove(state, true);
    if (reply == nullMove) {
        state.bestScore = isSquareAttacked(state, state.position.whiteKingSquare, false) ? -32000 : 0;
        return;
    }
    state.pv[1] = reply;

    const Position afterHandedMove = state.position;
    makeMove(state, reply);
    state.pv[2] = firstLegalMove(state, false);
    if (state.pv[2] == nullMove)
        state.bestScore = isSquareAttacked(state, state.position.blackKingSquare, true) ? 32000 : 0;
    state.position = afterHandedMove;
}
