#pragma once
// Evaluation: material, piece-square and pawn-set upkeep move by move, the root
// preparation, and the static evaluation. Scores are from the engine's side.
#include <cstdint>

#include "tamblorvars/tamblorvars.h"

// --- Tables and incremental terms --------------------------------------------------
void initMaterial(NodeState& node, const EngineState& state);
void updateMaterial(NodeState& node, const EngineState& state, Move move, int captured);
int sumPositional(const EngineState& state);
int positionalDelta(const EngineState& state, Move move, int captured);
void initPawnSets(NodeState& node, const EngineState& state);
void updatePawnSets(NodeState& node, const EngineState& state, Move move, int captured);
void prepareRootTables(EngineState& state);

// --- Static evaluation --------------------------------------------------------------
// Recomputes the piece terms and the terms the flags ask for; leaves score alone.
void evaluate(NodeState& node, bool pawnsChanged, int depth, EngineState& state);
void lazyScore(NodeState& node, const EngineState& state);
void kingSafety(NodeState& node, EngineState& state);

// --- The parts of lazyScore, for the evaluation trace ------------------------------
int termSum(const NodeState& node);             // material, positional and evaluate's terms
int rookVersusMinors(const NodeState& node);    // +70 / -70 for two minors against a rook
int bishopVersusKnight(const NodeState& node);  // +20 / -20 for a lone bishop against a lone knight
