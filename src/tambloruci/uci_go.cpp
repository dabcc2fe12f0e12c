// "go": the clock and the hard limits from its parameters, the book or the think
// driver, the final info line and exactly one bestmove.
#include <algorithm>
#include <cstdio>

#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "tambloruci/tambloruci.h"
#include "tamblortop/tamblortop.h"
#include "tamblortopply1/tamblortopply1.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr double unlimitedClock = 1000.0;  // days: budgets no search reaches
constexpr int pollInterval = 32768;        // the search polls when its count is a multiple

struct GoRequest {
    long long time[2] = {-1, -1};       // white, black; milliseconds
    long long increment[2] = {0, 0};
    long long movesToGo = 0, moveTime = -1, depth = 0, nodes = 0, mate = 0;
    bool infinite = false, ponder = false;
    std::string_view searchMoves[256];  // the moves after "searchmoves", as the GUI wrote them
    int searchMoveCount = 0;
};

bool isGoParameter(std::string_view word) {
    for (std::string_view name : {"wtime", "btime", "winc", "binc", "movestogo", "movetime", "depth", "nodes", "mate",
                                  "infinite", "ponder", "searchmoves"})
        if (sameWord(word, name)) return true;
    return false;
}

// A whole word as a whole number; values beyond any clock saturate.
long long readNumber(std::string_view word) {
    bool negative = !word.empty() && word[0] == '-';
    if (negative || (!word.empty() && word[0] == '+')) word.remove_prefix(1);
    long long value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return 0;
        value = std::min(value * 10 + (c - '0'), 1000000000000LL);
    }
    return negative ? -value : value;
}

GoRequest readRequest(UciWords words) {
    GoRequest request;
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        long long* field = sameWord(word, "wtime")       ? &request.time[0]
                           : sameWord(word, "btime")     ? &request.time[1]
                           : sameWord(word, "winc")      ? &request.increment[0]
                           : sameWord(word, "binc")      ? &request.increment[1]
                           : sameWord(word, "movestogo") ? &request.movesToGo
                           : sameWord(word, "movetime")  ? &request.moveTime
                           : sameWord(word, "depth")     ? &request.depth
                           : sameWord(word, "nodes")     ? &request.nodes
                           : sameWord(word, "mate")      ? &request.mate
                                                         : nullptr;
        if (field != nullptr) {
            *field = std::max(readNumber(words.next()), 0LL);  // a clock past its flag has no time left
        } else if (sameWord(word, "infinite")) {
            request.infinite = true;
        } else if (sameWord(word, "ponder")) {
            request.ponder = true;
        } else if (sameWord(word, "searchmoves")) {
            // Its moves run up to the next parameter.
            UciWords ahead = words;
            for (std::string_view move = ahead.next(); !move.empty() && !isGoParameter(move); move = ahead.next()) {
                if (request.searchMoveCount < 256) request.searchMoves[request.searchMoveCount++] = move;
                words = ahead;
            }
        }
        // Anything unknown is passed over.
    }
    return request;
}

// The engine's own clock as "time" and "level" would set it: its remaining time, its
// increment, and a control that ends movestogo moves from now.
void setUpClock(EngineState& state, const GoRequest& request) {
    const int own = state.enginePlaysWhite ? 0 : 1;
    state.movesPerControl = 0;
    state.increment = static_cast<double>(std::max(request.increment[own], 0LL)) / 1000.0 * second;
    if (request.time[own] < 0 || request.infinite) {
        state.clock = unlimitedClock;
        return;
    }
    char centiseconds[24];
    std::snprintf(centiseconds, sizeof centiseconds, "%lld", std::max(request.time[own], 0LL) / 10);
    setClock(state, centiseconds);
    // The control counts moves from the start of the game, as the budget does.
    if (request.movesToGo > 0 && request.movesToGo < 100000)
        state.movesPerControl = static_cast<std::int32_t>((state.lastGameMove + 2) / 2 + request.movesToGo);
}

// A node limit stops the search exactly: the count starts where the limit's last node
// is one the search polls at, so the search's own loop needs no test of its own.
void setUpLimits(EngineState& state, const GoRequest& request) {
    const long long depth = request.depth > 0 ? request.depth : request.mate > 0 ? 2 * request.mate : 0;
    state.depthLimit = depth > 0 ? static_cast<std::int32_t>(std::min(depth, 100LL)) + 2 : 0;
    // A limit of one node would stop the root before it has played the opponent's move.
    uciSearch.nodeLimit = request.nodes > 0 ? std::max(request.nodes, 2LL) : 0;
    state.nodeCountOrigin = (pollInterval - uciSearch.nodeLimit % pollInterval) % pollInterval;
    uciSearch.moveTime = request.moveTime >= 0 ? static_cast<double>(request.moveTime) / 1000.0 * second : -1;
    uciSearch.goStart = uciSearch.limitStart = timeOfDay();
    uciSearch.stopped = uciSearch.ponderHit = false;
}

// searchmoves: the root searches only the listed legal moves of the position the engine
// moves in (after the handed move); a list without one is no restriction.
void restrictRootMoves(EngineState& state, const GoRequest& request, Move handed) {
    state.allowedRootMoveCount = 0;
    if (request.searchMoveCount == 0) return;
    const Position before = state.position;
    if (handed != nullMove) makeMove(state, handed);
    for (int i = 0; i < request.searchMoveCount; ++i) {
        const Move move = readTypedMove(state, request.searchMoves[i], true);
        if (move != nullMove && isLegalGameMove(state, move, true) && !isAllowedRootMove(state, move))
            state.allowedRootMoves[state.allowedRootMoveCount++] = move;
    }
    state.position = before;
}

void sendBestMove(EngineState& state, Move best, Move reply) {
    BoundedText<40> text("bestmove ");
    text.append(best == nullMove ? std::string_view("0000") : uciMoveText(state, best).view());
    if (best != nullMove && reply != nullMove) {
        text.append(" ponder ");
        text.append(uciMoveText(state, reply));
    }
    sendLine(state, text);
}

}  // namespace

void uciGo(EngineState& state, UciWords words) {
    const GoRequest request = readRequest(words);
    const bool engineWasWhite = state.enginePlaysWhite;
    rebuildGamePosition(state);
    // The last move of the record is handed to the think driver as the opponent's move,
    // so that the game's repetitions and its fifty-move count reach into the search.
    Move handed = nullMove;
    const bool handedFromRecord = state.lastGameMove >= 0;
    if (handedFromRecord) {
        handed = readTypedMove(state, state.gameMoves[state.lastGameMove], false);
        --state.lastGameMove;
    }
    // The tables hold the engine's side: a change of sides starts them afresh.
    if (state.enginePlaysWhite != engineWasWhite && !state.tablesFresh) clearTables(state);
    setUpClock(state, request);
    setUpLimits(state, request);
    // go ponder: the last move is the reply the engine expects, searched as the xboard
    // side ponders on it; ponderhit turns the search into the real one.
    ponderMove = request.ponder ? handed : nullMove;
    restrictRootMoves(state, request, handed);

    const bool analysing = request.infinite || request.ponder || state.depthLimit > 0 || uciSearch.nodeLimit > 0;
    const bool fromBook = uciSearch.ownBook && !analysing && state.allowedRootMoveCount == 0 && playFromBook(state, handed);
    if (!fromBook) think(state, handed);
    // go infinite sends its bestmove only when told to stop, also when the search ended
    // early (a mate, a limit); so does a go ponder without a move to ponder on, until stop
    // or ponderhit. A command that must end the search is left pending.
    const bool waits = request.infinite || (request.ponder && handed == nullMove);
    while (waits && !uciSearch.stopped && longInputLine.empty() && !(request.ponder && uciSearch.ponderHit))
        uciInputWhileThinking(state, false);
    ponderMove = nullMove;
    if (handedFromRecord) ++state.lastGameMove;  // the record stays the GUI's game

    Move best = state.pv[1], reply = fromBook ? nullMove : state.pv[2];
    if (!state.replyReady) {
        best = reply = nullMove;
    } else if (best == nullMove) {
        best = state.allowedRootMoveCount > 0 ? state.allowedRootMoves[0] : firstLegalMove(state, true);
        reply = nullMove;
    }
    if (best == nullMove && state.replyReady && firstLegalMove(state, true) == nullMove) {
        // No legal move: mated (mate 0) or stalemated.
        state.bestScore = isSquareAttacked(state, state.position.whiteKingSquare, false) ? -mateScore : 0;
    }
    // The last word on the search, also when it ended before its first thinking line.
    Move line[pvLength] = {};
    line[1] = best;
    for (int i = 2; i < pvLength && best == state.pv[1] && state.pv[i] != nullMove; ++i) line[i] = state.pv[i];
    if (fromBook) state.nodeCount = state.nodeCountOrigin;
    sendUciInfo(state, fromBook ? 0 : std::max(state.searchDepth - 2, 1), line, pvLength - 1, state.bestScore);
    sendBestMove(state, best, reply);
    ++state.tableAge;
    state.depthLimit = 0;
    state.nodeCountOrigin = 0;
    state.allowedRootMoveCount = 0;
}
