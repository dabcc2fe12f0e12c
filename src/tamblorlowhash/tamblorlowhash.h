#pragma once
// The score table: bounds of full-width nodes whose value never left its start.
#include "tamblorvars/tamblorvars.h"

void storeScoreTable(const EngineState& state, int score, int depth, const NodeState& node);
bool probeScoreTable(const EngineState& state, int initial, int depth, const NodeState& node);
void clearScoreTable();
