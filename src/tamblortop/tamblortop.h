#pragma once
// The think driver: iterative deepening with an aspiration window around the root search.
#include "tamblorvars/tamblorvars.h"

// Finds the engine's reply to the handed move (0 = none), which it makes on the board;
// replyReady false when that move is not legal. Leaves the engine's move in pv entry 1
// (0 when it has none), the expected reply in entry 2, the score in bestScore and the
// last finished iteration in searchDepth. Also ponders, while ponderMove is set.
void think(EngineState& state, Move move);

// One root search at the given depth and window; writes pv and value. The first
// iteration (searchDepth 3 or less) also checks that the handed move is legal.
void searchRoot(EngineState& state, Move move, int depth, int cutoff, Move* pv, int& value, const NodeState& root,
                int initial);
