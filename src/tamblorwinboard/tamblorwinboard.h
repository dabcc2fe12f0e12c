#pragma once
// The engine's contact with the GUI: reading and sending protocol lines, the
// handshake, input that arrives while thinking, the thinking line, and the clock.
#include <string_view>

#include "tamblorvars/tamblorvars.h"

// Process-wide protocol values.
extern LineText inputLine;   // the pending raw line (cut at 250), empty = none pending
extern bool ponderEnabled;   // "HARD" on, "EASY" and "NEW" off
extern Move ponderMove;      // the expected reply while pondering, else 0
extern bool inputClosed;     // standard input reached its end

constexpr int inputLineLimit = 250;
constexpr int outputLineLimit = 246;

// A front end that takes over at start-up reads whole games on one line: a long line
// of its own, read by the same reader, so the xboard line keeps its bound.
constexpr int longInputLineLimit = 32000;  // "position ... moves" with a full game record
using LongLineText = BoundedText<longInputLineLimit>;
extern LongLineText longInputLine;

// What the search calls while it thinks: the xboard functions below unless another
// front end took over at start-up. inputWhileThinking reads a line (poll true: only
// when bytes are waiting) and acts on it.
struct FrontEnd {
    void (*inputWhileThinking)(EngineState& state, bool poll);
    void (*printThinking)(EngineState& state, const Move* line, int score, int count);
};
extern FrontEnd frontEnd;

// --- Protocol input and output ----------------------------------------------------
// poll false: waits for a line. poll true: reads only when bytes are waiting.
// At end of input the pending line becomes "quit".
bool inputAvailable(bool poll);
bool longInputAvailable(bool poll);  // the same, into longInputLine
LineText normaliseLine(std::string_view text);
void sendLine(EngineState& state, std::string_view text);
void handshake(EngineState& state);
void handleInputWhileThinking(EngineState& state);
void printThinking(EngineState& state, const Move* line, int score, int count);
// The traffic log; off unless something opens it.
void logLine(EngineState& state, std::string_view prefix, std::string_view text);

// --- Clock (times are fractions of a day) -----------------------------------------
constexpr double centisecond = 1.0 / 8640000.0;
constexpr double second = 1.0 / 86400.0;

double timeOfDay();
double elapsedSinceStart(const EngineState& state);
void setClock(EngineState& state, std::string_view centiseconds);
void parseLevel(EngineState& state, std::string_view rawLine);
void computeTimeBudget(EngineState& state);
bool timeUp(const EngineState& state);
bool rootTimeUp(const EngineState& state, int score);
// At a ponder hit: budgets, hitElapsed, and whether the search stops at once.
void applyPonderHit(EngineState& state);
void setDefaultClock(EngineState& state);  // 10 minutes, 5 s increment, whole game
