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
// Recomputes the piece terms and the terms the flags ask for; leaves score alone
// (lazyScore, below, sets it).
void evaluate(NodeState& node, bool pawnsChanged, int depth, EngineState& state);
void kingSafety(NodeState& node, EngineState& state);

// --- The parts of lazyScore, also for the evaluation trace ------------------------
// Material, positional and evaluate's terms.
inline int termSum(const NodeState& n) {
    return n.whiteMaterial - n.blackMaterial + n.positionalTerm + n.pawnStructure + n.passedPawns + n.pieceTerms +
           n.kingPlacement - n.whiteKingDanger + n.blackKingDanger;
}
// +70 / -70 for two minors against a rook.
inline int rookVersusMinors(int rookBalance, int minorBalance) {
    if (rookBalance < 0 && minorBalance >= 2) return 70;
    if (rookBalance > 0 && minorBalance <= -2) return -70;
    return 0;
}
inline int rookVersusMinors(const NodeState& n) { return rookVersusMinors(n.rookBalance, n.minorBalance); }
int bishopVersusKnight(const NodeState& node);  // +20 / -20 for a lone bishop against a lone knight
// The rules for a side short of a queen's worth of pieces, applied to the score so far.
void scaleTowardsEnding(NodeState& node, const EngineState& state);

// Called at nearly every node, so the common middle-game case stays inline.
inline void lazyScore(NodeState& n, const EngineState& st) {
    n.score = termSum(n) + rookVersusMinors(n);
    if (n.whitePieceMaterial < 925 || n.blackPieceMaterial < 925) scaleTowardsEnding(n, st);
}
