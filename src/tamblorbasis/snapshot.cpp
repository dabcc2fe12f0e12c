// Square numbering and the compact snapshot the search takes moves back with.
#include <cstring>

#include "tamblorbasis/tamblorbasis.h"

bool isOffBoard(int square) {
    const int file = square % 10;
    return square <= 20 || square > 98 || file == 0 || file == 9;
}

// Only squares 20..99 and the side entries are kept: the rest of the frame never changes.
void saveSnapshot(PositionSnapshot& snapshot, const EngineState& state) {
    std::memcpy(snapshot.squares, state.position.squares + 20, sizeof snapshot.squares);
    std::memcpy(snapshot.sideEntries, positionBytes(state.position) + 120, sizeof snapshot.sideEntries);
}

void restoreSnapshot(const PositionSnapshot& snapshot, EngineState& state) {
    std::memcpy(state.position.squares + 20, snapshot.squares, sizeof snapshot.squares);
    std::memcpy(positionBytes(state.position) + 120, snapshot.sideEntries, sizeof snapshot.sideEntries);
}
