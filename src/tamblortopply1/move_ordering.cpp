// The order in which a node tries its moves: captures by victim and attacker, killer
// moves first among the quiet ones, and only plausible answers when in check.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblortopply1/tamblortopply1.h"

namespace {

// Most valuable victim first, a promotion on top of it, then the cheapest attacker.
// An en-passant capture ranks like a pawn taking a pawn would, a little lower. The
// capture list holds only kinds 60 and 40, and bit 4 of the kind tells them apart.
static_assert((kindCapture & 16) != 0 && (kindEnPassant & 16) == 0);
inline int captureScore(Move move, const std::uint8_t* squares) {
    if ((move & (Move{16} << 16)) == 0) return 61;
    return 64 * squares[moveTo(move)] + 64 * movePromotion(move) - squares[moveFrom(move)];
}

// The first pick of a list scores every capture once and keeps each score scoreOffset
// entries above its capture, where neither the list (at most 16 x 8 captures and two en
// passant) nor the captures the search parks at the top end reach; it marks the sentinel
// below first so that the later picks read the kept scores.
constexpr int scoreOffset = 192;
static_assert(scoreOffset > 16 * 8 + 2 && 1 + scoreOffset + 16 * 8 + 2 < moveListCapacity - (16 * 8 + 2));
constexpr Move scoredSentinel = listSentinel | 1;

}  // namespace

void pickBestCapture(Move* first, Move* slot, const EngineState& state) {
    if (slot == first) return;  // the last one left needs no choosing
    Move* best = slot;
    Move bestScore;
    // From the top down, so that the entry nearer the top wins a tie.
    if (first[-1] == listSentinel) {
        first[-1] = scoredSentinel;
        const std::uint8_t* squares = state.position.squares;
        bestScore = static_cast<Move>(captureScore(*slot, squares));
        slot[scoreOffset] = bestScore;
        for (Move* entry = slot - 1; entry >= first; --entry) {
            const Move score = static_cast<Move>(captureScore(*entry, squares));
            entry[scoreOffset] = score;
            if (score > bestScore) {
                bestScore = score;
                best = entry;
            }
        }
    } else {
        bestScore = slot[scoreOffset];
        for (Move* entry = slot - 1; entry >= first; --entry) {
            const Move score = entry[scoreOffset];
            if (score > bestScore) {
                bestScore = score;
                best = entry;
            }
        }
    }
    const Move chosen = *best;
    *best = *slot;
    best[scoreOffset] = slot[scoreOffset];
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
