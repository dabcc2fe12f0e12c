#pragma once
// The key of any position block, from scratch (computeKey does this for the board).
#include "tamblorvars/tamblorvars.h"

PositionKeyPair keyOfPosition(const Position& position, const EngineState& state);
