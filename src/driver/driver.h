#pragma once
// The top level: the command loop and the game record.
#include <string_view>

#include "tamblorvars/tamblorvars.h"

// Runs until "quit" (or the end of input).
void commandLoop(EngineState& state);
// Appends a move text to the record: first four characters lower case, a fifth kept.
void recordGameMove(EngineState& state, std::string_view text);
// Sets the board to the position before the last recorded move.
void rebuildGamePosition(EngineState& state);
// The result line the engine's move just played leads to, or "" (the game goes on).
// Every claim holds on the board: the GUI checks it, and a false one forfeits the game.
std::string_view resultAfterEngineMove(EngineState& state, bool bookMove);
// Both transposition tables emptied.
void clearTables(EngineState& state);
// The work of "new".
void resetForNewGame(EngineState& state);
// A typed or recorded move text as the generated move of one side; 0 when it is none.
Move readTypedMove(const EngineState& state, std::string_view text, bool moverIsEngine);
