// The game history: the positions since the last irreversible move, kept as keys, for
// the repetition and fifty-move draws.
#include "tamblorhash/tamblorhash.h"

#include "tamblorhash/position_key.h"

void recordGamePosition(EngineState& state, const Position& after, Move move, bool engineToMove,
                        int castleBefore) {
    if (move == 0) {
        state.gameReversibleCount = 0;
        state.historyCount = 0;
    } else {
        const int moved = after.squares[moveTo(move)];
        const bool irreversible = moveKind(move) >= kindEnPassant || moved == whitePawn || moved == blackPawn ||
                                  movePromotion(move) != 0;
        if (irreversible)
            state.gameReversibleCount = 0;
        else
            state.gameReversibleCount += 1;
        // Positions before a pawn move, a capture or a lost castling right never recur.
        if (irreversible || castlingByte(after) != castleBefore) state.historyCount = 0;
    }
    // The en-passant chance makes this position unlike any later one with the same pieces.
    if (after.enPassantPawn != 0) return;
    const PositionKeyPair key = keyOfPosition(after, state);
    addHistoryEntry(state, engineToMove, key.low, key.high, castlingByte(after));
}

void addHistoryEntry(EngineState& state, bool engineToMove, std::uint32_t keyLow, std::uint32_t keyHigh,
                     int castleByte) {
    state.historyCount += 1;
    if (state.historyCount > gameHistoryCapacity) {
        // Never reached in a game: the fifty-move rule ends it at 101 entries.
        state.gameHistory[1] = state.gameHistory[gameHistoryCapacity];
        state.historyCount = gameHistoryCapacity;
    }
    GameHistoryEntry& entry = state.gameHistory[state.historyCount];
    entry.engineToMove = engineToMove;
    entry.keyLow = keyLow;
    entry.keyHigh = keyHigh;
    entry.castleByte = static_cast<std::uint8_t>(castleByte);
}

bool isRepetition(const EngineState& state, const Position& position, bool engineToMove, int count,
                  std::uint32_t keyLow, std::uint32_t keyHigh) {
    const int castleByte = castlingByte(position);
    int found = 0;
    for (int i = state.historyCount; i >= 1 && found < count; --i) {
        const GameHistoryEntry& entry = state.gameHistory[i];
        if (entry.engineToMove == engineToMove && entry.keyHigh == keyHigh && entry.keyLow == keyLow &&
            entry.castleByte == castleByte)
            ++found;
    }
    return found >= count;
}
