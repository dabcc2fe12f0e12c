// The UCI side of a running search: the lines that arrive meanwhile, the hard limits,
// and the info lines.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tamblorbasis/tamblorbasis.h"
#include "tambloruci/tambloruci.h"
#include "tamblortopply1/tamblortopply1.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

double elapsedSince(double start) {
    double elapsed = timeOfDay() - start;
    if (elapsed < -0.001) elapsed += 1.0;  // the day wrapped since the start
    return elapsed;
}

void checkLimits(EngineState& state) {
    if (ponderMove != nullMove) return;  // a ponder search has no limit until the hit
    if (uciSearch.nodeLimit > 0 && state.nodeCount - state.nodeCountOrigin >= uciSearch.nodeLimit)
        state.stopSearch = 1;
    if (uciSearch.moveTime >= 0 && elapsedSince(uciSearch.limitStart) >= uciSearch.moveTime) state.stopSearch = 1;
}

}  // namespace

void uciInputWhileThinking(EngineState& state, bool poll) {
    checkLimits(state);
    if (!longInputAvailable(poll)) return;
    UciWords words{longInputLine.view()};
    const std::string_view command = words.next();
    if (sameWord(command, "isready")) {
        sendLine(state, "readyok");
    } else if (sameWord(command, "stop")) {
        state.stopSearch = 1;
        uciSearch.stopped = true;
    } else if (sameWord(command, "ponderhit")) {
        uciSearch.ponderHit = true;
        if (ponderMove != nullMove) {
            // The expected reply was played: the search goes on as the real one, on the
            // engine's own clock.
            ponderMove = nullMove;
            uciSearch.limitStart = timeOfDay();
            applyPonderHit(state);
        }
    } else if (sameWord(command, "quit") || sameWord(command, "position") || sameWord(command, "go") ||
               sameWord(command, "ucinewgame") || sameWord(command, "setoption") || sameWord(command, "uci")) {
        // A command the search cannot serve ends it, and is read once the bestmove is out.
        state.stopSearch = 1;
        return;
    }
    longInputLine.clear();
}

MoveText uciMoveText(const EngineState& state, Move move) {
    MoveText text = moveToText(move, state.enginePlaysWhite);
    for (int i = 0; i < text.length; ++i)
        if (text.chars[i] >= 'A' && text.chars[i] <= 'Z') text.chars[i] = static_cast<char>(text.chars[i] + 32);
    return text;
}

void appendUciScore(BoundedText<255>& text, int score) {
    char number[40];
    // +32000 mates with the engine's next move; a mate found at ply p scores 32002 - p,
    // a mate against the engine at ply p scores p - 32001.
    if (score >= mateRange)
        std::snprintf(number, sizeof number, "score mate %d", (mateScore + 2 - score) / 2);
    else if (score <= -mateRange)
        std::snprintf(number, sizeof number, "score mate %d", -((score + mateScore) / 2));
    else
        std::snprintf(number, sizeof number, "score cp %d", score);
    text.append(number);
}

void sendUciInfo(EngineState& state, int depth, const Move* line, int moves, int score) {
    int length = 0;
    while (length + 1 < pvLength && line[length + 1] != nullMove) ++length;
    const int shown = std::min(length, moves);
    const long long nodes = state.nodeCount - state.nodeCountOrigin;
    const long long milliseconds = std::llround(elapsedSince(uciSearch.goStart) * 86400000.0);
    char head[120];
    // The search keeps no selective depth of its own; the line it found is as deep.
    std::snprintf(head, sizeof head, "info depth %d seldepth %d ", depth, std::max(depth, length));
    BoundedText<255> text(head);
    appendUciScore(text, score);
    std::snprintf(head, sizeof head, " nodes %lld nps %lld time %lld", nodes,
                  nodes * 1000 / std::max(milliseconds, 1LL), milliseconds);
    text.append(head);
    if (shown > 0) text.append(" pv");
    for (int i = 1; i <= shown; ++i) {
        text.append(' ');
        text.append(uciMoveText(state, line[i]));
    }
    sendLine(state, text);
}

void uciPrintThinking(EngineState& state, const Move* line, int score, int count) {
    sendUciInfo(state, state.searchDepth - 2, line, std::min(count, state.searchDepth - 2), score);
}
