// The order in which a node tries its moves: captures by victim and attacker, killer
// moves first among the quiet ones, and only plausible answers when in check.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblortopply1/tamblortopply1.h"

// The keys are the capture generators' (see captureKeyOffset); they move with their captures.
void pickBestCapture(Move* first, Move* slot, const EngineState&) {
    if (slot == first) return;  // the last one left needs no choosing
    Move* best = slot;
    Move bestKey = slot[captureKeyOffset];
    // From the top down, so that the entry nearer the top wins a tie.
    for (Move* entry = slot - 1; entry >= first; --entry) {
        const Move key = entry[captureKeyOffset];
        if (key > bestKey) {
            bestKey = key;
            best = entry;
        }
    }
    const Move chosen = *best;
    *best = *slot;
    best[captureKeyOffset] = slot[captureKeyOffset];
    *slot = chosen;
}

void updateKillers(EngineState& state, Move move, int ply, bool inCheck) {
    PlyInfo& info = state.plyInfo[ply + 1];
    Move* killers = inCheck ? info.checkKillers : info.killers;
    if (move == killers[0]) return;
    if (move == killers[1]) {
        killers[1] = killers[0];
        killers[0] = move;
    } else if (move == killers[2]) {
        killers[2] = killers[1];
        killers[1] = move;
    } else {
        killers[2] = move;
    }
}

int chooseKillers(const EngineState& state, Move* chosen, Move hashMove, int ply, bool inCheck, bool white) {
    // Killers of the node two plies nearer the root (or deeper, near the root), then
    // the node's own, so that the node's own best killer comes last and is tried first.
    // A killer named twice takes its later place.
    const PlyInfo& borrowed = state.plyInfo[ply >= 3 ? ply - 1 : ply + 3];
    const PlyInfo& own = state.plyInfo[ply + 1];
    int count = 0;
    for (const PlyInfo* info : {&borrowed, &own}) {
        const Move* killers = inCheck ? info->checkKillers : info->killers;
        for (int slot = 2; slot >= 0; --slot) {
            const Move killer = killers[slot];
            if (killer == nullMove || killer == hashMove) continue;
            int k = 0;
            while (k < count && chosen[k] != killer) ++k;
            if (k < count) {
                for (; k + 1 < count; ++k) chosen[k] = chosen[k + 1];
                chosen[k] = killer;
            } else if (isQuietMoveListed(state, killer, white)) {
                chosen[count++] = killer;
            }
        }
    }
    return count;
}

bool mayAnswerCheck(const EngineState& state, Move checking, Move candidate, int kingSquare) {
    const int kind = moveKind(candidate);
    if (kind == kindCastling) return false;
    if (kind == kindEnPassant || kind == kindCapture) return true;
    const int checkingKind = moveKind(checking);
    if (checking == nullMove || checkingKind == kindCastling || checkingKind == kindEnPassant) return true;
    if (moveFrom(candidate) == kingSquare) return true;

    const int to = moveTo(candidate);
    const int line = state.queenDirection[kingSquare][to];
    if (line == 0) return false;
    // Between the king and the checking piece: the check is blocked.
    const int checker = moveTo(checking);
    if (state.queenDirection[kingSquare][checker] == line &&
        state.squareDistance[kingSquare][to] < state.squareDistance[kingSquare][checker])
        return true;
    // On the line the checking piece uncovered: a discovered check is blocked.
    return state.queenDirection[kingSquare][moveFrom(checking)] == line;
}
