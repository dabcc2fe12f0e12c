// King danger: how few squares of the king's zone are safe from the enemy.
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"
#include "tamblorbasis/tamblorbasis.h"

using namespace evalrules;

namespace {

// The king is lifted off its square so that sliders attacking it also reach the squares
// behind it; it is always put back. Only the White king's zone excludes enemy-held squares.
int zoneDanger(EngineState& st, int king, bool attackerIsWhite) {
    std::uint8_t* b = st.position.squares;
    const std::uint8_t kingValue = b[king];
    b[king] = emptySquare;
    const int centre = st.inwardSquare[king];
    int safe = 0;
    for (int offset : kingZoneOffsets) {
        const int sq = centre + offset;
        if (!attackerIsWhite && (b[sq] & 3) == 2) continue;
        if (isSquareAttacked(st, sq, attackerIsWhite)) continue;
        if (++safe == 5) break;
    }
    b[king] = kingValue;
    return kingSafetyScore[safe];
}

}  // namespace

void kingSafety(NodeState& n, EngineState& st) {
    n.whiteKingDanger = n.blackKingDanger = 0;
    if (n.blackPieceMaterial > queenOnly) n.whiteKingDanger = zoneDanger(st, st.position.whiteKingSquare, false);
    if (n.whitePieceMaterial > queenOnly) n.blackKingDanger = zoneDanger(st, st.position.blackKingSquare, true);
}
