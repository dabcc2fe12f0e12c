// The think driver: iterations 3, 4, ... with an aspiration window, until the clock,
// a command, a mate or the depth limit ends them.
#include <cstdlib>

#include "tamblortop/tamblortop.h"
#include "tamblortopply1/tamblortopply1.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr int maxIterations = 50;
constexpr int aspirationWidth = 50;
constexpr int researchWidth = 100;

// A finished ponder search waits for the opponent's move (or any command that stops it).
void waitWhilePondering(EngineState& state) {
    while (ponderMove != nullMove && state.stopSearch == 0)
        frontEnd.inputWhileThinking(state, false);
}

// A window bound of exactly 0 would make a draw look like a fail; it moves off it.
inline int awayFromZero(int bound, int replacement) { return bound == 0 ? replacement : bound; }

struct Window {
    int initial = -mateScore;
    int cutoff = mateScore;
    bool failedHigh = false;
    bool failedLow = false;
};

// After an iteration: true when the score fell outside the window and the same depth
// is searched again with a window moved towards it.
bool needsResearch(EngineState& state, Window& window) {
    const int score = state.bestScore;
    const bool high = score >= window.cutoff && !window.failedLow;
    const bool low = score <= window.initial && !window.failedHigh;
    if ((!high && !low) || std::abs(score) >= mateRange) return false;
    if (state.researchCount >= 4) {
        window.initial = -mateScore;
        window.cutoff = mateScore;
        return true;
    }
    ++state.researchCount;
    if (high) {
        window.initial = score;
        window.cutoff = score + researchWidth;
        window.failedHigh = true;
    } else {
        window.initial = score - researchWidth;
        window.cutoff = score;
        window.failedLow = true;
        if (state.searchDepth > 6) state.easyMove = nullMove;
    }
    window.cutoff = awayFromZero(window.cutoff, 1);
    window.initial = awayFromZero(window.initial, -1);
    return true;
}

void startNextIteration(EngineState& state, Window& window) {
    ++state.searchDepth;
    if (state.searchDepth > maxIterations) waitWhilePondering(state);
    const int score = state.bestScore;
    window.initial = std::max(awayFromZero(score - aspirationWidth, -1), -mateScore);
    window.cutoff = std::min(awayFromZero(score + aspirationWidth, 1), mateScore);
    window.failedHigh = window.failedLow = false;
    state.researchCount = 0;
}

bool keepIterating(EngineState& state) {
    if (state.searchDepth > maxIterations || !state.replyReady || state.stopSearch != 0) return false;
    if (state.depthLimit > 0 && state.searchDepth > state.depthLimit) return false;
    if (ponderMove != nullMove) return true;
    // Past the longest time this move may take (a clock inside its reserve gives none),
    // no further iteration starts: a game with an increment would otherwise lose a little
    // on every move until the flag falls.
    if (elapsedSinceStart(state) > state.maxTime) return false;
    if (std::abs(state.bestScore) >= mateRange) return false;
    if (state.legalRootMoves == 1 && state.searchDepth > 9) return false;
    return !(state.researchCount == 0 && state.searchDepth > 10 && timeUp(state));
}

}  // namespace

void think(EngineState& state, Move move) {
    copyLine(state.previousPv, state.emptyPv);
    copyLine(state.pv, state.emptyPv);
    state.nodeCount = state.nodeCountOrigin;
    state.ply = 0;
    state.bestScore = 0;

    NodeState root{};
    root.extensionBudget = 10;
    root.extensionCredit = -12;
    for (int k = 1; k < plyInfoEntries; ++k)
        for (int slot = 0; slot < 3; ++slot) state.plyInfo[k].killers[slot] = state.plyInfo[k].checkKillers[slot] = 0;
    state.plyInfo[1].inCheck = 0;

    state.replyReady = true;
    state.stopSearch = 0;
    state.searchDepth = 3;
    state.researchCount = 0;
    state.legalRootMoves = 0;
    Window window;
    bool finished = false;

    computeTimeBudget(state);
    state.searchStart = timeOfDay();
    state.tablesFresh = false;
    state.rootPosition = state.position;

    Move kept[pvLength];
    for (;;) {
        copyLine(kept, state.pv);
        state.previousScore = state.bestScore;
        copyLine(state.pv, state.emptyPv);
        state.ply = 0;
        searchRoot(state, move, state.searchDepth - 1, window.cutoff, state.pv, state.bestScore, root,
                   window.initial);
        if (!state.replyReady) break;

        if (state.searchDepth <= 3 && (std::abs(state.bestScore) == mateScore || state.pv[1] == nullMove)) {
            // Mate at once, or no move at all: nothing deeper to find.
            finished = true;
            waitWhilePondering(state);
            break;
        }
        if (state.stopSearch != 0 && state.pv[1] == nullMove) {
            // The interrupted iteration found nothing: the last finished one stands.
            copyLine(state.pv, kept);
            state.bestScore = state.previousScore;
        }
        if (state.easyMove != nullMove && state.easyMove != state.pv[1]) state.easyMove = nullMove;
        copyLine(state.previousPv, state.emptyPv);
        for (int i = 2; i < pvLength; ++i) state.previousPv[i] = state.pv[i - 1];

        if (!needsResearch(state, window)) startNextIteration(state, window);
        if (!keepIterating(state)) break;
    }
    if (state.replyReady && state.researchCount == 0 && !finished) --state.searchDepth;
}
