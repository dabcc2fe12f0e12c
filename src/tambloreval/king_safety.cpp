// King danger: how few squares of the king's zone are safe from the enemy.
#include <algorithm>
#include <array>
#include <bit>

#include "tambloreval/board_sets.h"
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"

using namespace evalrules;

namespace {

// By the zone's centre (a set bit): its nine squares, and the squares from which a rook
// or a bishop could reach one of them at all (a file or rank, a diagonal crossing it).
struct ZoneMasks {
    std::array<std::uint64_t, 64> zone{}, straight{}, diagonal{};
};

constexpr int distance(int d) { return d < 0 ? -d : d; }

constexpr ZoneMasks zoneMasks = [] {
    ZoneMasks m;
    for (int c = 0; c < 64; ++c) {
        const int cf = c & 7, cr = c >> 3;
        for (int bit = 0; bit < 64; ++bit) {
            const int f = bit & 7, r = bit >> 3;
            const std::uint64_t b = std::uint64_t{1} << bit;
            const int df = f - cf, dr = r - cr;
            if (distance(df) <= 1 && distance(dr) <= 1) m.zone[c] |= b;
            if (distance(df) <= 1 || distance(dr) <= 1) m.straight[c] |= b;
            if (distance(df - dr) <= 2 || distance(df + dr) <= 2) m.diagonal[c] |= b;
        }
    }
    return m;
}();

// The king is left out of the occupied squares so that sliders attacking it also reach
// the squares behind it. Only the White king's zone excludes enemy-held squares.
[[gnu::always_inline]] inline int zoneDanger(const EngineState& st, const BoardSets& sets, int king, bool attackerIsWhite) {
    const int centre = bitOfSquare[st.inwardSquare[king]];
    const std::uint64_t men = attackerIsWhite ? sets.white : sets.black;
    // What pawns, the king and the knights hit does not depend on the king left out.
    std::uint64_t hit = attackerIsWhite ? sets.whiteGuards : sets.blackGuards;
    hit |= kingReach[bitOfSquare[attackerIsWhite ? st.position.whiteKingSquare : st.position.blackKingSquare]];
    for (std::uint64_t k = sets.knights & men; k != 0; k &= k - 1) hit |= knightReach[std::countr_zero(k)];
    std::uint64_t open = zoneMasks.zone[centre] & ~hit;
    if (!attackerIsWhite) open &= ~sets.black;

    const std::uint64_t straight = zoneMasks.straight[centre], diagonal = zoneMasks.diagonal[centre];
    const std::uint64_t rooks = sets.rooks & men & straight, bishops = sets.bishops & men & diagonal;
    const std::uint64_t queens = sets.queens & men & (straight | diagonal);
    // Squares off every slider's lines are safe without a look.
    const std::uint64_t lines = linesOf(rooks | queens, bishops | queens);
    int safe = std::popcount(open & ~lines);
    open &= lines;
    if (safe < 5 && open != 0) {
        const std::uint64_t occupied = (sets.white | sets.black) & ~(std::uint64_t{1} << bitOfSquare[king]);
        for (; open != 0 && safe < 5; open &= open - 1)
            if (!seenBySliders(occupied, std::countr_zero(open), rooks | queens, bishops | queens)) ++safe;
    }
    return kingSafetyScore[std::min(safe, 5)];
}

}  // namespace

namespace evalrules {

void kingSafety(NodeState& n, EngineState& st, const BoardSets& sets) {
    n.whiteKingDanger = n.blackKingDanger = 0;
    if (n.blackPieceMaterial > queenOnly) n.whiteKingDanger = zoneDanger(st, sets, st.position.whiteKingSquare, false);
    if (n.whitePieceMaterial > queenOnly) n.blackKingDanger = zoneDanger(st, sets, st.position.blackKingSquare, true);
}

}  // namespace evalrules

void kingSafety(NodeState& n, EngineState& st) { evalrules::kingSafety(n, st, readBoardSets(st.position.squares)); }
