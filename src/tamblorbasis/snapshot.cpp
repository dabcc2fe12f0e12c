// Square numbering and the compact snapshot the search takes moves back with.
#include <cstring>

#include "tamblorbasis/tamblorbasis.h"

bool isOffBoard(int square) {
    const int file = square % 10;
    return square <= 20 || square > 98 || file == 0 || file == 9;
}

// Only the 64 playing squares and the side entries are kept: the frame never changes.
void saveSnapshot(PositionSnapshot& snapshot, const EngineState& state) {
    const std::uint8_t* squares = state.position.squares;
    for (int rank = 0; rank < 8; ++rank)
        std::memcpy(snapshot.squares + 8 * rank, squares + 21 + 10 * rank, 8);
    std::memcpy(snapshot.sideEntries, positionBytes(state.position) + 120, 8);
}

void restoreSnapshot(const PositionSnapshot& snapshot, EngineState& state) {
    std::uint8_t* squares = state.position.squares;
    for (int rank = 0; rank < 8; ++rank)
        std::memcpy(squares + 21 + 10 * rank, snapshot.squares + 8 * rank, 8);
    std::memcpy(positionBytes(state.position) + 120, snapshot.sideEntries, 8);
}
