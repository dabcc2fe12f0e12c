#pragma once
// The score table: bounds of full-width nodes whose value never left its start.
#include "tamblorvars/tamblorvars.h"

void storeScoreTable(const EngineState& state, int score, int depth, const NodeState& node);
bool probeScoreTable(const EngineState& state, int initial, int depth, const NodeState& node);
void clearScoreTable();
// Starts fetching the entry the node with this key will probe (oddPly: the node's ply is odd).
void prefetchScoreTable(bool oddPly, std::uint32_t keyLow);
