// One pawn's structure: doubled, supported, isolated, backward-ish and weak on an open file.
#include "tambloreval/eval_rules.h"

namespace evalrules {

int whitePawnShape(int s, const NodeState& n, const EngineState& st) {
    int shape = 0;
    const std::uint64_t ahead = st.whiteFrontSpan[s];
    if (n.whitePawnSet & ahead) shape -= 15;  // doubled
    if (n.whitePawnSet & st.whiteSupport[s]) {
        // A supported pawn far up a file free of enemy pawns is worth a little more.
        if (s >= 61 && !(n.blackPawnSet & ahead)) shape += 10;
        return shape;
    }
    if (!(n.whitePawnSet & st.pawnNeighbours[s])) shape -= 8;  // no friend beside
    const std::uint8_t* b = st.position.squares;
    if (s < 71 && (b[s + 19] == blackPawn || b[s + 21] == blackPawn)) shape -= 7;
    if (!(n.blackPawnSet & ahead)) shape -= st.whiteWeakPawn[s];  // exposed on a half-open file
    return shape;
}

int blackPawnShape(int s, const NodeState& n, const EngineState& st) {
    int shape = 0;
    const std::uint64_t ahead = st.blackFrontSpan[s];
    if (n.blackPawnSet & ahead) shape += 15;
    if (n.blackPawnSet & st.blackSupport[s]) {
        if (s <= 58 && !(n.whitePawnSet & ahead)) shape -= 10;
        return shape;
    }
    if (!(n.blackPawnSet & st.pawnNeighbours[s])) shape += 8;
    const std::uint8_t* b = st.position.squares;
    if (s >= 51 && (b[s - 19] == whitePawn || b[s - 21] == whitePawn)) shape += 7;
    if (!(n.whitePawnSet & ahead)) shape += st.blackWeakPawn[s];
    return shape;
}

}  // namespace evalrules
