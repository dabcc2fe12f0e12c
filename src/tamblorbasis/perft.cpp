#include "tamblorbasis/perft.h"

namespace {

// Plays one move at the next ply the way the search does. False (position untouched
// or to be restored by the caller) when the move may not be played.
inline bool playMove(EngineState& state, Move move, bool moverIsBlack) {
    if (moveKind(move) == kindCastling) {
        if (!isCastlingPathSafe(state, move)) return false;
        makeMove(state, move);
        return true;
    }
    makeMove(state, move);
    return isLegalAfterMove(state, move, moverIsBlack);
}

// One node: captures first, then quiet moves, each list read backwards.
std::uint64_t countNode(EngineState& state, int depth, PerftReport report, void* context) {
    const bool whiteToMove = (state.ply & 1) != 0;
    const bool moverIsBlack = !whiteToMove;
    PositionSnapshot snapshot;
    saveSnapshot(snapshot, state);
    MoveList list;
    std::uint64_t total = 0;

    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        if (phase == 0) {
            if (whiteToMove) generateWhiteCaptures(cursor, state);
            else generateBlackCaptures(cursor, state);
        } else {
            if (whiteToMove) generateWhiteQuietMoves(cursor, state);
            else generateBlackQuietMoves(cursor, state);
        }
        for (Move* m = cursor - 1; m > list.moves; --m) {
            const Move move = *m;
            ++state.ply;
            std::uint64_t nodes = 0;
            if (playMove(state, move, moverIsBlack)) {
                if (depth <= 1) {
                    nodes = 1;
                } else {
                    updateCheckFlag(state, move, moverIsBlack);
                    nodes = countNode(state, depth - 1, nullptr, nullptr);
                }
                total += nodes;
                if (report) report(move, nodes, context);
            }
            --state.ply;
            restoreSnapshot(snapshot, state);
        }
    }
    return total;
}

}  // namespace

void preparePerftRoot(EngineState& state, bool whiteToMove) {
    state.ply = whiteToMove ? 1 : 2;
    const Position& p = state.position;
    const bool inCheck = whiteToMove ? isSquareAttacked(state, p.whiteKingSquare, false)
                                     : isSquareAttacked(state, p.blackKingSquare, true);
    state.plyInfo[state.ply + 1].inCheck = inCheck ? 1 : 0;
}

std::uint64_t perft(EngineState& state, int depth) {
    if (depth <= 0) return 1;
    return countNode(state, depth, nullptr, nullptr);
}

std::uint64_t perftDivide(EngineState& state, int depth, PerftReport report, void* context) {
    if (depth <= 0) return 1;
    return countNode(state, depth, report, context);
}
