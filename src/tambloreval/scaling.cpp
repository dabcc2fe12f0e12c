// Combining the terms into the score, with the material-balance corrections and the
// ending rules that pull drawish leads towards zero.
#include <algorithm>

#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"

using namespace evalrules;

namespace {

constexpr int knight = 305, bishop = 310, rook = 490;

// All of a side's pawns stand on one file (a-file and h-file spans cover ranks 2..7).
inline bool allOnFile(std::uint64_t pawns, std::uint64_t file) { return (pawns & ~file) == 0; }

}  // namespace

int bishopVersusKnight(const NodeState& n) {
    if (n.whitePieceMaterial == bishop && n.blackPieceMaterial == knight) return 20;
    if (n.blackPieceMaterial == bishop && n.whitePieceMaterial == knight) return -20;
    return 0;
}

void scaleTowardsEnding(NodeState& n, const EngineState& st) {
    n.score += bishopVersusKnight(n);
    if (n.score > 0) scaleWhiteLead(n, st);
    else if (n.score < 0) scaleBlackLead(n, st);
}

namespace evalrules {

void scaleWhiteLead(NodeState& n, const EngineState& st) {
    int& score = n.score;
    const int own = n.whitePieceMaterial, other = n.blackPieceMaterial;
    if (n.whitePawnMaterial == 0) {
        // Without pawns only a clear piece surplus wins.
        if (own <= bishop) score = 0;
        else if (own == rook) {
            if (other == knight || other == bishop) score /= 32;
        } else if (own == knight + bishop) {
            score /= 32;
        } else if (own == rook + knight || own == rook + bishop) {
            if (other == rook) score /= 32;
        }
        return;
    }
    if (n.whitePawnMaterial == 95 && own <= bishop && other > 0) score -= score / 4;
    if (own == bishop && other == bishop && n.whiteBishopsOnDark != n.blackBishopsOnDark)
        score = std::max(score - 60, score / 8);  // bishops of opposite colours
    if (own == 0 || own == bishop) {
        // A rook pawn whose promotion square the bishop cannot cover, with the king in front.
        const int corner = cornerOf[st.position.blackKingSquare];
        if ((corner == 91 && !n.whiteBishopsOnLight && allOnFile(n.whitePawnSet, st.whiteFrontSpan[21])) ||
            (corner == 98 && !n.whiteBishopsOnDark && allOnFile(n.whitePawnSet, st.whiteFrontSpan[28]))) {
            score /= 32;
            return;
        }
    }
    if (other == 0 && score > 100) score += std::min(2 * score, 350);
}

void scaleBlackLead(NodeState& n, const EngineState& st) {
    int& score = n.score;
    const int own = n.blackPieceMaterial, other = n.whitePieceMaterial;
    if (n.blackPawnMaterial == 0) {
        if (own <= bishop) score = 0;
        else if ((own == rook && (other == knight || other == bishop)) ||
                 ((own == rook + knight || own == rook + bishop) && other == rook))
            score = score / 32 - 2 * edgeWeight[st.position.whiteKingSquare];
        return;
    }
    if (n.blackPawnMaterial == 95 && own <= bishop && other > 0) score -= score / 4;
    if (own == bishop && other == bishop && n.whiteBishopsOnDark != n.blackBishopsOnDark)
        score = std::min(score + 60, score / 8);
    if (own == 0 || own == bishop) {
        const int corner = cornerOf[st.position.whiteKingSquare];
        if ((corner == 21 && !n.blackBishopsOnDark && allOnFile(n.blackPawnSet, st.whiteFrontSpan[21])) ||
            (corner == 28 && !n.blackBishopsOnLight && allOnFile(n.blackPawnSet, st.whiteFrontSpan[28]))) {
            score /= 32;
            return;
        }
    }
    if (other == 0 && score < -100) score += std::max(2 * score, -350);
}

}  // namespace evalrules
