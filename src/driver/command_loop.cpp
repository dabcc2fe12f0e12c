// The command loop: reads the GUI's commands, keeps the game, makes the engine move.
#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

struct LoopState {
    bool forceMode = false;
    bool quitRequested = false;
    Move opponentMove = nullMove;
    bool skipReply = false;
};

void clearTables(EngineState& state) {
    clearMainTable();
    clearScoreTable();
    state.tableAge = 0;
    state.tablesFresh = true;
}

void clearTablesUnlessFresh(EngineState& state) {
    if (!state.tablesFresh) clearTables(state);
}

// A fresh history for a game that starts here: positions of an earlier game must
// never count towards a repetition in this one.
void startHistory(EngineState& state, bool engineToMove) {
    recordGamePosition(state, state.position, state.startMove, engineToMove, castlingByte(state.position));
}

void setUpPosition(EngineState& state, std::string_view text) {
    if (parsePositionText(false, text, state) && isPlayablePosition(state, true)) {
        state.standardStart = false;
        state.setupText.assign(text);
        state.lastGameMove = -1;
        state.startWhiteToMove = state.enginePlaysWhite;
        startHistory(state, true);
        return;
    }
    state.position = state.startPosition;
    state.enginePlaysWhite = false;
    sendLine(state, "tellusererror Illegal position");
}

// One command; true when it gives the engine something to do.
bool runCommand(EngineState& state, LoopState& loop, const LineText& line) {
    const std::string_view whole = line.view();
    if (line.startsWith("TIME")) {
        setClock(state, line.slice(5, 204));
    } else if (line.startsWith("USERMOVE") && loop.forceMode) {
        recordGameMove(state, line.slice(9, 13));
    } else if (line.startsWith("USERMOVE")) {
        const Move move = readTypedMove(state, line.slice(9, 28), false);
        if (move == nullMove) {
            sendLine(state, "Illegal move");
            return false;
        }
        loop.opponentMove = move;
        return true;
    } else if (whole == "GO") {
        rebuildGamePosition(state);
        bool leave = true;
        if (state.lastGameMove >= 0) {
            const Move move = readTypedMove(state, state.gameMoves[state.lastGameMove], false);
            if (move == nullMove) {
                sendLine(state, "Illegal move");
                leave = false;
            } else {
                --state.lastGameMove;  // recorded again once the engine has answered it
                loop.opponentMove = move;
            }
        }
        loop.forceMode = false;
        clearTablesUnlessFresh(state);
        return leave;
    } else if (whole == "FORCE") {
        loop.forceMode = true;
    } else if (whole == "REMOVE") {
        if (state.lastGameMove >= 1) {
            --state.lastGameMove;
            rebuildGamePosition(state);
            --state.lastGameMove;
            clearTablesUnlessFresh(state);
        }
    } else if (whole == "UNDO") {
        if (loop.forceMode && state.lastGameMove >= 0) --state.lastGameMove;
    } else if (line.startsWith("LEVEL")) {
        parseLevel(state, inputLine);
        computeTimeBudget(state);
    } else if (line.startsWith("SETBOARD")) {
        setUpPosition(state, inputLine.slice(9, 208));
    } else if (whole == "NEW") {
        resetForNewGame(state);
        clearTables(state);
        loop.forceMode = false;
        startHistory(state, false);
    } else if (whole == "QUIT") {
        loop.quitRequested = true;
        return true;
    } else if (whole == "EASY") {
        ponderEnabled = false;
    } else if (whole == "HARD") {
        ponderEnabled = true;
    }
    return false;
}

void readCommands(EngineState& state, LoopState& loop) {
    for (;;) {
        loop.opponentMove = nullMove;
        loop.skipReply = false;
        ponderMove = nullMove;
        while (!inputAvailable(false)) {
        }
        LineText line = normaliseLine(inputLine);
        if (line.empty())
            line.assign("*");
        else
            logLine(state, "In : ", inputLine.view().substr(0, 240));
        const bool leave = runCommand(state, loop, line);
        inputLine.clear();
        if (leave) return;
    }
}

MoveText engineMoveText(const EngineState& state, Move move) {
    MoveText text = moveToText(move, state.enginePlaysWhite);
    for (int i = 0; i < text.length && i < 4; ++i)
        if (text.chars[i] >= 'A' && text.chars[i] <= 'Z') text.chars[i] = static_cast<char>(text.chars[i] + 32);
    return text;
}

// Plays the engine's move and names the result it leads to, if any.
std::string_view playEngineMove(EngineState& state, bool bookMove) {
    const Move move = state.pv[1];
    if (move == nullMove)
        return state.searchDepth <= 3 && state.bestScore == 0 ? "1/2-1/2 {Stalemate}" : "";

    const MoveText text = engineMoveText(state, move);
    BoundedText<16> line("move ");
    line.append(text);
    sendLine(state, line);
    recordGameMove(state, text);
    const int castleBefore = castlingByte(state.position);
    makeMove(state, move);
    recordGamePosition(state, state.position, move, false, castleBefore);

    if (state.pv[2] != nullMove || state.bestScore != 0 || bookMove) return "";
    if (state.gameReversibleCount >= 100) return "1/2-1/2 {Draw by 50 moves rule}";
    if (state.historyCount >= 1) {
        const GameHistoryEntry& latest = state.gameHistory[state.historyCount];
        if (isRepetition(state, state.position, false, 3, latest.keyLow, latest.keyHigh))
            return "1/2-1/2 {Draw by repetition}";
    }
    return "1/2-1/2 {Stalemate}";
}

void announceResult(EngineState& state, std::string_view resultText) {
    if (state.pv[2] != nullMove) return;
    if (state.bestScore != 32000 && state.bestScore != -32000 && resultText.empty()) return;
    if (state.bestScore == 32000) sendLine(state, state.enginePlaysWhite ? "1-0 {White mates}" : "0-1 {Black mates}");
    if (state.bestScore == 0) sendLine(state, resultText);
    if (state.bestScore == -32000)
        sendLine(state, state.enginePlaysWhite ? "0-1 {Black mates}" : "1-0 {White mates}");
}

}  // namespace

void resetForNewGame(EngineState& state) {
    state.enginePlaysWhite = false;
    state.position = state.startPosition;
    state.lastGameMove = -1;
    state.standardStart = true;
    state.startWhiteToMove = true;
    state.setupText.clear();
    setDefaultClock(state);
    for (int i = 0; i < pvLength; ++i) state.pv[i] = state.emptyPv[i];
    ponderEnabled = false;
    ponderMove = nullMove;
}

void commandLoop(EngineState& state) {
    LoopState loop;
    for (;;) {
        if (ponderEnabled && state.pv[2] != nullMove) {
            // Ponder on the expected reply while the opponent thinks.
            loop.opponentMove = ponderMove = state.pv[2];
            loop.skipReply = false;
        } else {
            readCommands(state, loop);
        }
        if (loop.quitRequested) break;

        const Position saved = state.position;
        const int castleBefore = castlingByte(state.position);

        const bool fromBook = playFromBook(state, loop.opponentMove);
        if (!fromBook) think(state, loop.opponentMove);
        if (!state.replyReady) {
            state.position = saved;
            sendLine(state, "Illegal move");
        }

        if (ponderMove != nullMove) {
            // Pondering ended without the expected reply: the pending line is the real one.
            state.position = saved;
            state.replyReady = false;
            for (int i = 0; i < pvLength; ++i) state.pv[i] = state.emptyPv[i];
        } else {
            const LineText pending = normaliseLine(inputLine);
            if (pending.view() == "QUIT") break;
            if (pending.view() == "FORCE") {
                loop.skipReply = true;
                loop.forceMode = true;
                state.replyReady = true;
            } else if (state.replyReady && loop.opponentMove != nullMove) {
                recordGameMove(state, engineMoveText(state, loop.opponentMove));
                recordGamePosition(state, state.position, loop.opponentMove, true, castleBefore);
            }
            inputLine.clear();
        }
        if (!state.replyReady || loop.skipReply) continue;

        ++state.tableAge;
        announceResult(state, playEngineMove(state, fromBook));
    }
}
