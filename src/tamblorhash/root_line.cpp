// Plants the previous iteration's line in the main table so that every position on it
// is searched with its line move first.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/main_table.h"
#include "tamblorhash/tamblorhash.h"

void storeRootLine(EngineState& state, const NodeState& root) {
    const Position saved = state.position;
    NodeState node = root;
    for (int k = 2; k < pvLength && state.previousPv[k] != 0; ++k) {
        if (k > 2) {
            const Move previous = state.previousPv[k - 1];
            const int captured = makeMove(state, previous);
            updateKey(node, state, previous, captured);
        }
        // Entry 2 is the engine's move at the root: even entries belong to max nodes.
        const bool maxNode = (k & 1) == 0;
        MainTableSlot slot;
        slot.move = state.previousPv[k];
        slot.keyLow = node.keyLow;
        slot.keyHigh = node.keyHigh;
        slot.score = static_cast<std::int16_t>(maxNode ? rootLineMaxScore : rootLineMinScore);
        slot.depth = rootLineDepth;
        slot.castleEpState = node.castleEpState;
        slot.age = state.tableAge;
        plantMainTableSlot(maxNode, slot);
    }
    state.position = saved;
}
