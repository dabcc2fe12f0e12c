#pragma once
// Position keys, the main transposition table, and the game history.
#include <cstdint>

#include "tamblorvars/tamblorvars.h"

// --- Keys ---------------------------------------------------------------------------
int castleEpState(const Position& position, const EngineState& state);
void computeKey(NodeState& node, const EngineState& state);
// After move was made on the board (captured = code taken, 0 if none).
void updateKey(NodeState& node, const EngineState& state, Move move, int captured);

// --- Main table (lower bounds at odd plies, upper bounds at even plies) -----------
void storeMainTable(const EngineState& state, Move move, int score, int depth, const NodeState& node);
bool probeMainTable(const EngineState& state, int cutoff, int depth, Move& hashMove, const NodeState& node);
void storeRootLine(EngineState& state, const NodeState& root);
void clearMainTable();
// Starts fetching the entry the node with this key will probe (maxTable: an odd ply).
void prefetchMainTable(bool maxTable, std::uint32_t keyLow);

// --- Game history -------------------------------------------------------------------
void recordGamePosition(EngineState& state, const Position& after, Move move, bool engineToMove,
                        int castleBefore);
void addHistoryEntry(EngineState& state, bool engineToMove, std::uint32_t keyLow, std::uint32_t keyHigh,
                     int castleByte);
bool isRepetition(const EngineState& state, const Position& position, bool engineToMove, int count,
                  std::uint32_t keyLow, std::uint32_t keyHigh);
