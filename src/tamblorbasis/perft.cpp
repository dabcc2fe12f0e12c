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

// At the last ply only legality counts, and for most moves it can be read off the board
// before the move. A move that is not the king's, not en passant and not out of check can
// only be illegal by a pin through its from-square, the way isLegalAfterMove tests it: the
// line from the from-square to the king is clear and the first piece the other way is an
// enemy slider along it, and the move does not land on that line between the two.
// Returns 1 legal, 0 illegal, -1 when the move must be played to tell.
// The caller has checked that the mover is not in check.
inline int leafVerdict(const EngineState& state, Move move, int king, bool moverIsBlack) {
    const std::uint8_t* b = state.position.squares;
    const int from = moveFrom(move);
    const int to = moveTo(move);
    const int kind = moveKind(move);
    if (kind == kindEnPassant || kind == kindCastling || from == king) return -1;
    const int d = state.queenDirection[from][king];
    if (d == 0) return 1;
    int s = from + d;
    while (b[s] == emptySquare && s != to) s += d;
    if (s != king) return 1;  // something (perhaps the mover itself) stands in between
    s = from - d;
    while (b[s] == emptySquare && s != to) s -= d;
    if (s == to) return 1;  // the mover stays on the line, shielding the king
    const int v = b[s];
    const int queen = moverIsBlack ? whiteQueen : blackQueen;
    const int rook = moverIsBlack ? whiteRook : blackRook;
    const int bishop = moverIsBlack ? whiteBishop : blackBishop;
    const bool straight = d == 1 || d == -1 || d == 10 || d == -10;
    return v == queen || v == (straight ? rook : bishop) ? 0 : 1;
}

// One node: captures first, then quiet moves, each list read backwards.
std::uint64_t countNode(EngineState& state, int depth, PerftReport report, void* context) {
    const bool whiteToMove = (state.ply & 1) != 0;
    const bool moverIsBlack = !whiteToMove;
    PositionSnapshot snapshot;
    saveSnapshot(snapshot, state);
    MoveList list;
    std::uint64_t total = 0;
    const int king = moverIsBlack ? state.position.blackKingSquare : state.position.whiteKingSquare;
    const bool judgeUnplayed = depth <= 1 && state.plyInfo[state.ply + 1].inCheck <= 0;

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
            const int verdict = judgeUnplayed ? leafVerdict(state, move, king, moverIsBlack) : -1;
            if (verdict >= 0) {
                total += verdict;
                if (report && verdict) report(move, 1, context);
                --state.ply;
                continue;
            }
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
