#pragma once
// The UCI front end: a second way in beside the xboard one, for GUIs and tools that
// speak only UCI. It drives the same game record, book, clock and think driver; only
// the commands and the lines it sends are its own.
#include <cstdint>
#include <string_view>

#include "tamblorvars/tamblorvars.h"

// Runs a whole UCI session, from the answer to the "uci" that opened it to "quit" (or
// the end of input). Takes over the search's input and thinking line for the run.
void uciLoop(EngineState& state);

// One command line; false when it was "quit". While a go searches, lines that arrive
// are read from longInputLine; one that must end the search stays pending there.
bool runUciCommand(EngineState& state, std::string_view line);

// --- Between the command loop and the search ----------------------------------------
struct UciSearch {
    std::int64_t nodeLimit;  // 0 = none
    double moveTime;         // a hard limit in fractions of a day; < 0 = none
    double limitStart;       // when the move time began (the go, or the ponder hit)
    double goStart;          // for the times the info lines give
    bool stopped;            // "stop" arrived
    bool ponderHit;          // "ponderhit" arrived
    bool ownBook;
    bool ponderOption;       // the GUI's Ponder setting: it decides when to ponder
};
extern UciSearch uciSearch;

// The search's poll in UCI mode: the hard limits, then a pending line.
void uciInputWhileThinking(EngineState& state, bool poll);
// The thinking line as an info line.
void uciPrintThinking(EngineState& state, const Move* line, int score, int count);
// An info line: depth, score, nodes, speed, time and up to `moves` moves of the line
// (entries 1 on, up to the first empty one).
void sendUciInfo(EngineState& state, int depth, const Move* line, int moves, int score);
// "score cp X" or "score mate M" (moves from the engine's view) for an engine score.
void appendUciScore(BoundedText<255>& text, int score);
// The move in UCI text: long algebraic, lower case, castling as the king's move.
MoveText uciMoveText(const EngineState& state, Move move);

// Blank-separated words of a command line.
struct UciWords {
    std::string_view rest;
    std::string_view next();
};
// Command words and option names compare without regard to letter case.
bool sameWord(std::string_view a, std::string_view b);

// "position": the game record rebuilt from it, or an info string and nothing changed.
void uciPosition(EngineState& state, UciWords words);
// "go": a search under the given limits, its info lines and exactly one bestmove.
void uciGo(EngineState& state, UciWords words);
