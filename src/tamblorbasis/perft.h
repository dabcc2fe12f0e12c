#pragma once
// Counting the leaf positions of the move tree, played the way the search plays moves:
// castling through isCastlingPathSafe, everything else through makeMove and
// isLegalAfterMove, updateCheckFlag keeping the in-check flag, snapshots to take back (at the
// last ply most moves are judged without playing them, with the same verdict).
// It checks the generators and the legality tests against published counts.
#include <cstdint>

#include "tamblorbasis/tamblorbasis.h"

// Makes the current position a root node with the given (stored) side to move: ply 1
// when White is to move, 2 when Black is, and that side's in-check flag in entry ply + 1.
void preparePerftRoot(EngineState& state, bool whiteToMove);

// Leaf count depth plies below the current node (the root prepared as above).
std::uint64_t perft(EngineState& state, int depth);

// The same, handing each legal root move and its count to report, in the order tried.
using PerftReport = void (*)(Move move, std::uint64_t nodes, void* context);
std::uint64_t perftDivide(EngineState& state, int depth, PerftReport report, void* context);
