// King danger: how few squares of the king's zone are safe from the enemy.
#include <cstdlib>

#include "tamblorbasis/rank_words.h"
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"

using namespace evalrules;

namespace {

// The attacker's men that can reach some square of a zone at all: knights within three
// king steps of its centre, sliders on a file, rank or diagonal that crosses it.
struct ZoneMen {
    int knights[16], rooks[16], bishops[16], queens[16];
    int knightCount = 0, rookCount = 0, bishopCount = 0, queenCount = 0;
};

ZoneMen zoneMen(const EngineState& st, const PieceSquares& m, int side, int centre) {
    ZoneMen z;
    const int file = st.fileOf[centre], rank = st.rankOf[centre];
    const auto straight = [&](int p) { return std::abs(st.fileOf[p] - file) <= 1 || std::abs(st.rankOf[p] - rank) <= 1; };
    const auto diagonal = [&](int p) {
        return std::abs(st.fileOf[p] - st.rankOf[p] - (file - rank)) <= 2 ||
               std::abs(st.fileOf[p] + st.rankOf[p] - (file + rank)) <= 2;
    };
    for (int i = 0; i < m.knightCount[side]; ++i)
        if (st.squareDistance[centre][m.knights[side][i]] <= 3) z.knights[z.knightCount++] = m.knights[side][i];
    for (int i = 0; i < m.rookCount[side]; ++i)
        if (straight(m.rooks[side][i])) z.rooks[z.rookCount++] = m.rooks[side][i];
    for (int i = 0; i < m.bishopCount[side]; ++i)
        if (diagonal(m.bishops[side][i])) z.bishops[z.bishopCount++] = m.bishops[side][i];
    for (int i = 0; i < m.queenCount[side]; ++i)
        if (straight(m.queens[side][i]) || diagonal(m.queens[side][i])) z.queens[z.queenCount++] = m.queens[side][i];
    return z;
}

// isSquareAttacked asked of the attacker's pieces rather than of the eight lines: each
// zone square meets only the few men that stand on one of its lines.
bool attackedBy(const EngineState& st, const ZoneMen& z, int side, int sq) {
    const std::uint8_t* b = st.position.squares;
    if (side == 0 ? (b[sq - 9] == whitePawn || b[sq - 11] == whitePawn)
                  : (b[sq + 9] == blackPawn || b[sq + 11] == blackPawn))
        return true;
    const int king = side == 0 ? st.position.whiteKingSquare : st.position.blackKingSquare;
    if (st.squareDistance[sq][king] == 1) return true;
    for (int i = 0; i < z.knightCount; ++i)
        if (st.knightStep[sq][z.knights[i]] != 0) return true;
    return seenFrom(b, sq, z.rooks, z.rookCount, st.rookDirection) ||
           seenFrom(b, sq, z.bishops, z.bishopCount, st.bishopDirection) ||
           seenFrom(b, sq, z.queens, z.queenCount, st.queenDirection);
}

// The king is lifted off its square so that sliders attacking it also reach the squares
// behind it; it is always put back. Only the White king's zone excludes enemy-held squares.
int zoneDanger(EngineState& st, const PieceSquares& m, int king, bool attackerIsWhite) {
    std::uint8_t* b = st.position.squares;
    const std::uint8_t kingValue = b[king];
    b[king] = emptySquare;
    const int centre = st.inwardSquare[king];
    const int side = attackerIsWhite ? 0 : 1;
    const ZoneMen z = zoneMen(st, m, side, centre);
    int safe = 0;
    for (int offset : kingZoneOffsets) {
        const int sq = centre + offset;
        if (!attackerIsWhite && (b[sq] & 3) == 2) continue;
        if (attackedBy(st, z, side, sq)) continue;
        if (++safe == 5) break;
    }
    b[king] = kingValue;
    return kingSafetyScore[safe];
}

}  // namespace

namespace evalrules {

void gatherPieces(PieceSquares& m, const EngineState& st) {
    const std::uint8_t* b = st.position.squares;
    for (int side = 0; side < 2; ++side) m.knightCount[side] = m.bishopCount[side] = m.rookCount[side] = m.queenCount[side] = 0;
    for (int rank = 0; rank < 8; ++rank) {
        for (std::uint64_t occupied = occupiedFlags(rankWord(b, rank)); occupied != 0; occupied &= occupied - 1) {
            const int s = 21 + 10 * rank + lowestFlagFile(occupied);
            const int v = b[s];
            const int side = (v & 3) == 1 ? 0 : 1;
            switch (v & ~3) {
            case whiteKnight & ~3: m.knights[side][m.knightCount[side]++] = s; break;
            case whiteBishop & ~3: m.bishops[side][m.bishopCount[side]++] = s; break;
            case whiteRook & ~3: m.rooks[side][m.rookCount[side]++] = s; break;
            case whiteQueen & ~3: m.queens[side][m.queenCount[side]++] = s; break;
            default: break;
            }
        }
    }
}

void kingSafety(NodeState& n, EngineState& st, const PieceSquares& m) {
    n.whiteKingDanger = n.blackKingDanger = 0;
    if (n.blackPieceMaterial > queenOnly) n.whiteKingDanger = zoneDanger(st, m, st.position.whiteKingSquare, false);
    if (n.whitePieceMaterial > queenOnly) n.blackKingDanger = zoneDanger(st, m, st.position.blackKingSquare, true);
}

}  // namespace evalrules

void kingSafety(NodeState& n, EngineState& st) {
    PieceSquares m;
    gatherPieces(m, st);
    evalrules::kingSafety(n, st, m);
}
