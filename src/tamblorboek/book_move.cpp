// The book path of the engine's turn: the book gives two squares; the board supplies
// the rest of the move, and the move is played only if it is legal here, so that a
// hand-edited book can never make the engine send an illegal move.
#include <cstdio>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// Kind and promotion from the board, seen from the engine's side: a capture when the
// target is occupied, en passant when a pawn changes file onto an empty square,
// castling when the king leaves its home square two files aside, and always a queen
// for a pawn that reaches the last rank.
Move completeBookMove(const EngineState& state, Move move) {
    const std::uint8_t* b = state.position.squares;
    const int from = moveFrom(move), to = moveTo(move);
    int kind = moveKind(move);
    if (b[to] != emptySquare)
        kind = kindCapture;
    else if (b[from] == whitePawn && state.fileOf[from] != state.fileOf[to])
        kind = kindEnPassant;
    else if (b[from] == whiteKing && from == 25 && (to == 23 || to == 27))
        kind = kindCastling;
    const int promotion = b[from] == whitePawn && state.rankOf[from] == 7 ? whiteQueen : movePromotion(move);
    return makeMoveWord(from, to, kind, promotion);
}

void logBookMove(EngineState& state, Move move) {
    if (!state.logEnabled) return;
    char text[40];
    std::snprintf(text, sizeof text, "%d %d %d %d ", moveFrom(move), moveTo(move), moveKind(move),
                  movePromotion(move));
    logLine(state, "Book ", text);
}

}  // namespace

bool matchLegalMove(EngineState& state, Move& move, bool moverIsWhite) {
    return matchGeneratedMove(move, moverIsWhite, state) && isLegalGameMove(state, move, moverIsWhite);
}

bool playFromBook(EngineState& state, Move opponentMove) {
    if (!probeBook(state, opponentMove)) return false;

    const Position before = state.position;
    Move reply = opponentMove;
    bool legal = opponentMove == nullMove || matchLegalMove(state, reply, false);
    if (legal) {
        makeMove(state, opponentMove);
        const Move completed = completeBookMove(state, state.pv[1]);
        Move generated = completed;
        legal = matchLegalMove(state, generated, true) && generated == completed;
        state.pv[1] = completed;
    }
    if (!legal) {
        state.position = before;
        copyLine(state.pv, state.emptyPv);
        return false;
    }
    logBookMove(state, state.pv[1]);
    state.replyReady = true;
    state.bestScore = 0;
    return true;
}
