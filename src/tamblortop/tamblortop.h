#pragma once
// The think driver: finds the engine's reply to the handed move (0 = none).
#include "tamblorvars/tamblorvars.h"

// Makes move on the board (replyReady false when it is not legal) and leaves the
// engine's move in pv entry 1 (0 when it has none), the expected reply in entry 2,
// and the score in bestScore.
void think(EngineState& state, Move move);
