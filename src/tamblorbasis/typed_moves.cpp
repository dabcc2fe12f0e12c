// Matching a move read from text against the generated words, so that it is played
// with the kind the generators give it (capture, castling, en passant).
#include "tamblorbasis/tamblorbasis.h"

namespace {

// Walks the list backwards from the last word down to the sentinel at entry 0.
bool findInList(Move& move, const Move* first, const Move* end) {
    for (const Move* m = end - 1; m > first; --m) {
        if (sameSquaresAndPromotion(*m, move)) {
            move = *m;
            return true;
        }
    }
    return false;
}

}  // namespace

bool matchGeneratedMove(Move& move, bool moverIsWhite, const EngineState& state) {
    MoveList list;
    Move* cursor = list.moves;
    if (moverIsWhite)
        generateWhiteCaptures(cursor, state);
    else
        generateBlackCaptures(cursor, state);
    if (findInList(move, list.moves, cursor)) return true;

    cursor = list.moves;
    if (moverIsWhite)
        generateWhiteQuietMoves(cursor, state);
    else
        generateBlackQuietMoves(cursor, state);
    return findInList(move, list.moves, cursor);
}
