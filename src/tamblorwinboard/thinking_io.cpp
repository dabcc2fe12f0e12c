// Input that arrives while the engine thinks, and the thinking line.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

void xboardInputWhileThinking(EngineState& state, bool poll) {
    if (inputAvailable(poll)) handleInputWhileThinking(state);
}

}  // namespace

FrontEnd frontEnd = {xboardInputWhileThinking, printThinking};

void handleInputWhileThinking(EngineState& state) {
    logLine(state, ponderMove != nullMove ? "In while pondering: " : "In while calculating: ",
            inputLine.view().substr(0, 225));
    const LineText line = normaliseLine(inputLine);

    if (ponderEnabled && ponderMove != nullMove && line.startsWith("USERMOVE")) {
        const Move reply = textToMove(false, line.slice(9, 28), state.enginePlaysWhite);
        if (!sameSquaresAndPromotion(reply, ponderMove)) {
            // Not the expected reply: stop, and let the command loop read it as a move.
            state.stopSearch = 1;
            return;
        }
        // A ponder hit: the running search becomes the search for the engine's reply.
        ponderMove = nullMove;
        applyPonderHit(state);
        if (state.stopSearch != 0) return;
    }

    if (line.startsWith("TIME")) setClock(state, line.slice(5, 204));
    const std::string_view whole = line.view();
    // While pondering the game is the GUI's: a command that changes it ends the ponder
    // and is read by the command loop, or the engine would play on in another game.
    const bool changesGame = ponderMove != nullMove && (whole == "GO" || whole == "UNDO" || whole == "EASY" ||
                                                         line.startsWith("SETBOARD"));
    if ((whole == "?" && state.searchDepth >= 4) || whole == "FORCE" || whole == "QUIT" || whole == "NEW" ||
        whole == "REMOVE" || changesGame) {
        state.stopSearch = 1;  // the line stays pending for the command loop
        return;
    }
    if (line.startsWith("LEVEL")) {
        parseLevel(state, inputLine);
        computeTimeBudget(state);
    }
    inputLine.clear();
}

void printThinking(EngineState& state, const Move* line, int score, int count) {
    const int shown = std::min(count, state.searchDepth - 2);
    const long centiseconds = std::lround(elapsedSinceStart(state) * 8640000.0);

    char headText[96];
    std::snprintf(headText, sizeof headText, "%d %d %2ld %lld", state.searchDepth - 2, score, centiseconds,
                  static_cast<long long>(state.nodeCount));
    BoundedText<60> head(headText);

    BoundedText<255> tail;
    if (ponderMove != nullMove) {
        tail.append("(");
        tail.append(moveToThinkingText(ponderMove, state.enginePlaysWhite));
        tail.append(") ");
    }
    if (state.easyMove != nullMove) tail.append(" * ");
    for (int i = 1; i <= shown && i <= 31; ++i) {
        if (line[i] == nullMove || tail.length >= 180) continue;
        tail.append(moveToThinkingText(line[i], state.enginePlaysWhite));
        tail.append(" ");
    }

    BoundedText<255> text(head);
    text.append(" ");
    text.append(tail);
    sendLine(state, text);
}
