// "position startpos | fen FEN [moves ...]": checked in full on a scratch board, then
// written to the game record, which every go replays as the xboard side's "go" does.
#include "driver/driver.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tambloruci/tambloruci.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

void refuse(EngineState& state, std::string_view what, std::string_view word, std::string_view why) {
    BoundedText<255> text("info string ");
    text.append(what);
    text.append(' ');
    text.append(word.substr(0, 100));
    text.append(": ");
    text.append(why);
    text.append("; the last good position stays");
    sendLine(state, text);
}

// The moves, each legal for the side to move, made on the board; false (with the
// reason sent) at the first that is not.
bool replayMoves(EngineState& state, UciWords moves) {
    bool moverIsEngine = true;  // the board is stored with the side to move as the engine
    int count = 0;
    for (std::string_view text = moves.next(); !text.empty(); text = moves.next(), moverIsEngine = !moverIsEngine) {
        if (++count > gameRecordCapacity) {
            refuse(state, "move", text, "the game is longer than the engine's record");
            return false;
        }
        Move move = text.size() <= 5 ? readTypedMove(state, text, moverIsEngine) : nullMove;
        if (move == nullMove || !isLegalGameMove(state, move, moverIsEngine)) {
            refuse(state, "illegal move", text, "not a legal move in the position it was sent for");
            return false;
        }
        makeMove(state, move);
    }
    return true;
}

}  // namespace

void uciPosition(EngineState& state, UciWords words) {
    const Position savedPosition = state.position;
    const bool savedEngineWhite = state.enginePlaysWhite;

    const std::string_view kind = words.next();
    SetupText fen;
    bool standard = sameWord(kind, "startpos");
    UciWords moves{};
    bool good = true;
    if (standard) {
        state.position = state.startPosition;
        state.enginePlaysWhite = true;
        if (sameWord(words.next(), "moves")) moves = words;
    } else if (sameWord(kind, "fen")) {
        for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
            if (sameWord(word, "moves")) {
                moves = words;
                break;
            }
            if (!fen.empty()) fen.append(' ');
            if (fen.length + static_cast<int>(word.size()) >= SetupText::capacity) good = false;
            fen.append(word);
        }
        const SetupText given = fen;
        fen.append(' ');  // the reader finds the side to move as " w " or " b "
        if (!good || !parsePositionText(false, fen, state)) {
            refuse(state, "fen", given, "not a position: placement, side to move, castling, en passant");
            good = false;
        } else if (!isPlayablePosition(state, true)) {
            refuse(state, "fen", given, "not playable: kings, pawns on the back ranks, men, or the side not to move in check");
            good = false;
        }
    } else {
        refuse(state, "position", kind, "expected startpos or fen");
        good = false;
    }
    good = good && replayMoves(state, moves);
    state.position = savedPosition;
    state.enginePlaysWhite = savedEngineWhite;
    if (!good) return;

    // The start as "setboard" sets it, then the moves as the GUI's "usermove"s in force mode.
    state.standardStart = standard;
    state.setupText.assign(standard ? std::string_view() : fen.view());
    state.startWhiteToMove = standard || fen.view().find(" w ") != std::string_view::npos;
    state.lastGameMove = -1;
    for (std::string_view text = moves.next(); !text.empty(); text = moves.next()) recordGameMove(state, text);
}
