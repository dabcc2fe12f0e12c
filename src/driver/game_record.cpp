// The game record and the rebuilding of the game position from it.
#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

Move readTypedMove(const EngineState& state, std::string_view text, bool moverIsEngine) {
    Move move = textToMove(moverIsEngine, text, state.enginePlaysWhite);
    if (move == nullMove || !matchGeneratedMove(move, moverIsEngine, state)) return nullMove;
    return move;
}

void recordGameMove(EngineState& state, std::string_view text) {
    if (state.lastGameMove >= gameRecordCapacity - 1) return;
    ++state.lastGameMove;
    MoveText entry(text);
    for (int i = 0; i < entry.length && i < 4; ++i) entry.chars[i] = lowerCase(entry.chars[i]);
    state.gameMoves[state.lastGameMove] = entry;
}

void rebuildGamePosition(EngineState& state) {
    if (state.standardStart) {
        state.position = state.startPosition;
    } else {
        // Stored so that the opponent is on move once the record has been replayed.
        parsePositionText(state.lastGameMove % 2 == 0, state.setupText, state);
    }
    const bool lastIndexOdd = (state.lastGameMove & 1) != 0;
    state.enginePlaysWhite = state.startWhiteToMove ? lastIndexOdd : !lastIndexOdd;
    recordGamePosition(state, state.position, state.startMove, state.startWhiteToMove == state.enginePlaysWhite,
                       castlingByte(state.position));

    // Entry 0 is by the side to move at the start; the engine is on move at the start
    // exactly when the start's colour is the engine's.
    bool engineMoves = state.startWhiteToMove == state.enginePlaysWhite;
    for (int i = 0; i < state.lastGameMove; ++i, engineMoves = !engineMoves) {
        const Move move = readTypedMove(state, state.gameMoves[i], engineMoves);
        if (move == nullMove) {
            BoundedText<40> message("illegal move ");
            message.append(state.gameMoves[i]);
            sendLine(state, message);
            continue;
        }
        const int castleBefore = castlingByte(state.position);
        makeMove(state, move);
        recordGamePosition(state, state.position, move, !engineMoves, castleBefore);
    }
}
