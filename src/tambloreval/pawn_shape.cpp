// One pawn's structure: doubled, supported, isolated, backward-ish and weak on an open file.
#include "tambloreval/eval_rules.h"

namespace evalrules {

void whitePawnShape(int s, NodeState& n, const EngineState& st) {
    const std::uint64_t ahead = st.whiteFrontSpan[s];
    if (n.whitePawnSet & ahead) n.pawnStructure -= 15;  // doubled
    if (n.whitePawnSet & st.whiteSupport[s]) {
        // A supported pawn far up a file free of enemy pawns is worth a little more.
        if (s >= 61 && !(n.blackPawnSet & ahead)) n.pawnStructure += 10;
        return;
    }
    if (!(n.whitePawnSet & st.pawnNeighbours[s])) n.pawnStructure -= 8;  // no friend beside
    const std::uint8_t* b = st.position.squares;
    if (s < 71 && (b[s + 19] == blackPawn || b[s + 21] == blackPawn)) n.pawnStructure -= 7;
    if (!(n.blackPawnSet & ahead)) n.pawnStructure -= st.whiteWeakPawn[s];  // exposed on a half-open file
}

void blackPawnShape(int s, NodeState& n, const EngineState& st) {
    const std::uint64_t ahead = st.blackFrontSpan[s];
    if (n.blackPawnSet & ahead) n.pawnStructure += 15;
    if (n.blackPawnSet & st.blackSupport[s]) {
        if (s <= 58 && !(n.whitePawnSet & ahead)) n.pawnStructure -= 10;
        return;
    }
    if (!(n.blackPawnSet & st.pawnNeighbours[s])) n.pawnStructure += 8;
    const std::uint8_t* b = st.position.squares;
    if (s >= 51 && (b[s - 19] == whitePawn || b[s - 21] == whitePawn)) n.pawnStructure += 7;
    if (!(n.whitePawnSet & ahead)) n.pawnStructure += st.blackWeakPawn[s];
}

}  // namespace evalrules
