// Before each root search: reward keeping the queen home while the minor pieces are
// undeveloped, and nudge the king-side pieces out while castling short is possible.
// Always set from homeBonus, so repeated roots never add up.
#include "tambloreval/tambloreval.h"

namespace {

// Minor pieces no longer on their home squares; none while both castling rights stand.
int developedMinors(int castling, const std::uint8_t* b, int homeRank, int knight, int bishop) {
    if (castling >= 3) return 0;
    return (b[homeRank + 2] != knight) + (b[homeRank + 3] != bishop) + (b[homeRank + 6] != bishop) +
           (b[homeRank + 7] != knight);
}

}  // namespace

void prepareRootTables(EngineState& st) {
    const Position& p = st.position;
    auto& ps = st.pieceSquare;

    st.whiteEarlyQueen = developedMinors(p.whiteCastling, p.squares, 20, whiteKnight, whiteBishop) < 3;
    ps[whiteQueen][24] = static_cast<std::int8_t>(st.homeBonus[0] + (st.whiteEarlyQueen ? 10 : 0));

    st.blackEarlyQueen = developedMinors(p.blackCastling, p.squares, 90, blackKnight, blackBishop) < 3;
    ps[blackQueen][94] = static_cast<std::int8_t>(st.homeBonus[1] - (st.blackEarlyQueen ? 10 : 0));

    const int shortCastle = (p.whiteCastling & kingSideRight) ? 15 : 0;
    ps[whiteKnight][27] = static_cast<std::int8_t>(st.homeBonus[2] - shortCastle);
    ps[whiteBishop][26] = static_cast<std::int8_t>(st.homeBonus[3] - shortCastle);
}
