#pragma once
// The recursive search below the root, its move ordering and its depth rules.
//
// The search is minimax by ply parity, not negamax: at odd plies the engine (stored
// White) is to move and the node maximises, at even plies the opponent minimises. A node
// starts from `initial` and stops once its value reaches `cutoff`; a child gets the
// parent's cutoff as its start and the parent's current value as its cutoff.
#include "tamblorvars/tamblorvars.h"

// A node's line: entry 1 its best move (0 while it has none), then the continuation up
// to `length`. Entries past `length` are stale and never read, so a node clears its line
// with two stores and hands on only the moves it has.
struct PvLine {
    Move moves[pvLength];
    int length;
};

inline void clearLine(PvLine& line) {
    line.moves[1] = nullMove;
    line.length = 0;
}

// Writes the line out in full, zeros past its length (the form the think driver keeps).
inline void writeLine(Move* to, const PvLine& line) {
    for (int i = 0; i < pvLength; ++i) to[i] = i >= 1 && i <= line.length ? line.moves[i] : nullMove;
}

constexpr int mateScore = 32000;
constexpr int mateRange = 31000;  // scores this large or larger are mates
constexpr int maxSearchPly = 80;

// Everything a node keeps in its own frame while it searches its moves. The root
// search fills one in for the root and shares the move loop with every other node.
struct NodeFrame {
    NodeState node;
    PvLine* pvLine;
    Move move;  // the move that led here, 0 = the null move
    int remaining;
    int value, initial, cutoff;
    int reduction;  // late-move reduction; negative once undone for the re-search
    bool maxNode;
    bool capturesOnly;
    bool storeAllowed;
    bool inCheck;  // the side to move here is in check
    Move hashMove;
    bool saved;
    bool fromQuiet;  // see quietFrom
    int quietFrom;   // the last man whose quiet moves were judged before they were made
    PositionSnapshot snapshot;  // the board before the child's move
    MoveList list;
    // The root only.
    bool root;
    bool deepRoot;          // iterations after the first: clock, scout and thinking output
    int nonPawnCaptures;    // legal captures of a piece at the root (the easy-move rule)
};

// A frame as a node starts it: the parent's terms, the window, nothing searched yet.
void openFrame(NodeFrame& frame, const NodeState& parent, PvLine* pvLine, Move move, int initial, int cutoff);

// One node below the root (ply is raised on entry; the caller restores the position
// and lowers ply after the call, whatever happened).
void searchNode(EngineState& state, bool& legal, Move move, int depth, PvLine& pvLine, int& value,
                const NodeState& parent, int initial, int cutoff);

// Every 32768 nodes: the clock (when asked) and the input that arrived meanwhile.
// True when the search must stop.
bool pollWhileSearching(EngineState& state, bool clockTest);

// The depth of the null-move search at a node of this remaining depth.
int nullMoveDepth(int remaining);
// Whether the root may search the move: one of allowedRootMoves (checked only when listed).
bool isAllowedRootMove(const EngineState& state, Move move);

// The move loop shared with the root: hash move, captures, then quiet moves, until a
// cutoff, a stop or the end of the list. True when the node must return at once.
bool searchMoves(EngineState& state, NodeFrame& frame);

// Ends a full-width node that searched its moves: killers, table stores, and the mate
// or stalemate score when no move was legal.
void finishNode(EngineState& state, NodeFrame& frame);

// --- Move ordering -----------------------------------------------------------------
// Swaps the best remaining capture in (first, slot] into slot: victims first, then
// the cheapest attacker, by the keys the capture generators keep beside the list.
void pickBestCapture(Move* first, Move* slot, const EngineState& state);
// Records a quiet move that caused a cutoff at the node of this ply.
void updateKillers(EngineState& state, Move move, int ply, bool inCheck);
// The killers the quiet phase tries before its list, last first: those the quiet
// generator lists here, the hash move left out. Returns their number (at most 6).
int chooseKillers(const EngineState& state, Move* chosen, Move hashMove, int ply, bool inCheck, bool white);
// Whether a quiet move (or a deferred capture) can answer the check given by `checking`.
bool mayAnswerCheck(const EngineState& state, Move checking, Move candidate, int kingSquare);

// --- Extensions and reductions ----------------------------------------------------
// 8 when the move that led here answered a check, or gave one that leaves the king at
// most one flight square; else 0.
int checkExtensionWeight(const EngineState& state, const NodeFrame& frame);
// The extension weight in eighths of a ply of the move that led to this node, with the
// small positional adjustments that belong to it; sets the late-move reduction.
int extensionWeight(EngineState& state, NodeFrame& frame, int captured);
// Credits the weight; a whole ply is added once the credit rises above 0.
void creditExtension(NodeFrame& frame, int weight);
