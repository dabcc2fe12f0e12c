// The command loop: reads the GUI's commands, keeps the game, makes the engine move.
#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "tamblorhash/position_key.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

struct LoopState {
    bool forceMode = false;
    bool quitRequested = false;
    Move opponentMove = nullMove;
};

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
    startHistory(state, false);  // no draw claim may count the positions of the board before
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

void recordMove(EngineState& state, Move move, bool engineMoved, int castleBefore) {
    recordGameMove(state, engineMoveText(state, move));
    recordGamePosition(state, state.position, move, !engineMoved, castleBefore);
}

// After the search: true when the engine goes on to send its move. A command that
// stopped the search decides; the opponent's move the search started from was played
// in any case and stays in the game.
bool settleAfterThinking(EngineState& state, LoopState& loop, const Position& saved, int castleBefore) {
    if (ponderMove != nullMove) {
        // Pondering ended without the expected reply: the pending line is the real one.
        state.position = saved;
        copyLine(state.pv, state.emptyPv);
        return false;
    }
    if (!state.replyReady) {
        state.position = saved;
        sendLine(state, "Illegal move");
        inputLine.clear();
        return false;
    }
    const LineText pending = normaliseLine(inputLine);
    if (pending.view() == "QUIT") {
        loop.quitRequested = true;
        return false;
    }
    if (loop.opponentMove != nullMove) recordMove(state, loop.opponentMove, false, castleBefore);
    if (pending.view() == "FORCE") {
        loop.forceMode = true;
        inputLine.clear();
        return false;
    }
    // A new game must not be lost: it is read as the next command, and no move of the
    // old game goes out.
    if (pending.view() == "NEW") return false;
    inputLine.clear();
    return true;
}

// The engine's move, then the end of the game when it has come.
void playEngineMove(EngineState& state, bool bookMove) {
    if (state.pv[1] == nullMove) {
        // No move: mated or stalemated, or a search stopped before it found one.
        state.pv[1] = firstLegalMove(state, true);
        state.pv[2] = nullMove;
        if (state.pv[1] == nullMove) {
            const bool mated = isSquareAttacked(state, state.position.whiteKingSquare, false);
            sendLine(state, !mated ? "1/2-1/2 {Stalemate}"
                            : state.enginePlaysWhite ? "0-1 {Black mates}" : "1-0 {White mates}");
            return;
        }
    }
    const Move move = state.pv[1];
    const MoveText text = engineMoveText(state, move);
    BoundedText<16> line("move ");
    line.append(text);
    sendLine(state, line);
    const int castleBefore = castlingByte(state.position);
    makeMove(state, move);
    recordMove(state, move, true, castleBefore);
    const std::string_view result = resultAfterEngineMove(state, bookMove);
    if (!result.empty()) sendLine(state, result);
}

}  // namespace

void clearTables(EngineState& state) {
    clearMainTable();
    clearScoreTable();
    state.tableAge = 0;
    state.tablesFresh = true;
}

std::string_view resultAfterEngineMove(EngineState& state, bool bookMove) {
    if (firstLegalMove(state, false) == nullMove) {
        state.pv[2] = nullMove;
        if (!isSquareAttacked(state, state.position.blackKingSquare, true)) return "1/2-1/2 {Stalemate}";
        return state.enginePlaysWhite ? "1-0 {White mates}" : "0-1 {Black mates}";
    }
    // The search saw the game end in a draw here: claim it only when a rule holds.
    if (state.pv[2] != nullMove || state.bestScore != 0 || bookMove) return "";
    if (state.gameReversibleCount >= 100) return "1/2-1/2 {Draw by 50 moves rule}";
    if (state.position.enPassantPawn != 0) return "";  // such positions are never recorded
    const PositionKeyPair key = keyOfPosition(state.position, state);
    return isRepetition(state, state.position, false, 3, key.low, key.high) ? "1/2-1/2 {Draw by repetition}" : "";
}

void resetForNewGame(EngineState& state) {
    state.enginePlaysWhite = false;
    state.position = state.startPosition;
    state.lastGameMove = -1;
    state.standardStart = true;
    state.startWhiteToMove = true;
    state.setupText.clear();
    setDefaultClock(state);
    copyLine(state.pv, state.emptyPv);
    ponderEnabled = false;
    ponderMove = nullMove;
}

void commandLoop(EngineState& state) {
    LoopState loop;
    for (;;) {
        // Ponder on the expected reply while the opponent thinks; a pending command
        // and force mode come first.
        if (ponderEnabled && state.pv[2] != nullMove && !loop.forceMode && inputLine.empty()) {
            loop.opponentMove = ponderMove = state.pv[2];
        } else {
            readCommands(state, loop);
        }
        if (loop.quitRequested) break;

        const Position saved = state.position;
        const int castleBefore = castlingByte(state.position);
        // The book answers while the game is young; a ponder search never asks it.
        const bool fromBook = ponderMove == nullMove && playFromBook(state, loop.opponentMove);
        if (!fromBook) think(state, loop.opponentMove);
        if (!settleAfterThinking(state, loop, saved, castleBefore)) {
            if (loop.quitRequested) break;
            continue;
        }
        ++state.tableAge;
        playEngineMove(state, fromBook);
    }
}
