// The pawn terms remembered by the pawns that gave them, so that a pawn move met again
// (the search meets the same pawns over and over) is not walked again.
#include "tambloreval/eval_rules.h"

namespace evalrules {

namespace {

constexpr int memoBits = 12;
// A fixed table of the process, zero at start (no entry filled).
PawnMemo memoTable[1 << memoBits];

}  // namespace

PawnMemo& pawnMemo(const PawnKey& key) {
    // The board's pawns pick the slot; the node's sets almost always agree with them.
    const std::uint64_t mix = (key.boardWhite ^ (key.boardBlack * 0x9E3779B97F4A7C15ull)) * 0xD6E8FEB86659FD93ull;
    return memoTable[mix >> (64 - memoBits)];
}

}  // namespace evalrules
