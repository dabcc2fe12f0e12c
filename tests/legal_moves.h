#pragma once
// Test helper: the legal moves of one side, found with the engine's own routines the
// way the search finds them, for random-game and other whole-game tests.
//
// Ply convention of the engine: at a node of odd ply stored White is to move; a move
// is made at the ply after its node's, isLegalAfterMove reads inCheck of plyInfo[ply]
// ("the mover stood in check before moving") and updateCheckFlag writes plyInfo[ply + 1].
// legalMoves therefore puts the node at ply 1 (White to move) or 2 (Black to move),
// sets plyInfo[node + 1].inCheck from isSquareAttacked on the mover's king, and makes
// each move at ply node + 1. It restores the position, ply and that inCheck entry.
#include <cstdint>
#include <random>
#include <vector>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorvars/tamblorvars.h"

// Legal moves of the given stored side in the current position, in the order the
// search tries them (captures, then quiet moves, each list read backwards).
inline std::vector<Move> legalMoves(EngineState& st, bool moverIsWhite) {
    const std::int32_t savedPly = st.ply;
    const int node = moverIsWhite ? 1 : 2;
    const std::int32_t savedInCheck = st.plyInfo[node + 1].inCheck;
    const int king = moverIsWhite ? st.position.whiteKingSquare : st.position.blackKingSquare;
    st.plyInfo[node + 1].inCheck = isSquareAttacked(st, king, !moverIsWhite) ? 1 : 0;

    std::vector<Move> legal;
    PositionSnapshot snapshot;
    saveSnapshot(snapshot, st);
    MoveList list;
    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        if (phase == 0)
            moverIsWhite ? generateWhiteCaptures(cursor, st) : generateBlackCaptures(cursor, st);
        else
            moverIsWhite ? generateWhiteQuietMoves(cursor, st) : generateBlackQuietMoves(cursor, st);
        for (Move* m = cursor - 1; m > list.moves; --m) {
            st.ply = node + 1;
            bool ok;
            if (moveKind(*m) == kindCastling) {
                ok = isCastlingPathSafe(st, *m);
                if (ok) makeMove(st, *m);
            } else {
                makeMove(st, *m);
                ok = isLegalAfterMove(st, *m, !moverIsWhite);
            }
            if (ok) legal.push_back(*m);
            restoreSnapshot(snapshot, st);
        }
    }
    st.ply = savedPly;
    st.plyInfo[node + 1].inCheck = savedInCheck;
    return legal;
}

// Plays up to maxMoves random legal moves from the current position, White (stored)
// first when whiteToMove; stops early at mate or stalemate. Returns the moves played
// and leaves the final position on the board; whiteToMove then names the side to move.
inline std::vector<Move> playRandomLegalMoves(EngineState& st, bool& whiteToMove, int maxMoves,
                                              std::mt19937& random) {
    std::vector<Move> played;
    for (int i = 0; i < maxMoves; ++i) {
        const std::vector<Move> moves = legalMoves(st, whiteToMove);
        if (moves.empty()) break;
        const Move move = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
        makeMove(st, move);
        played.push_back(move);
        whiteToMove = !whiteToMove;
    }
    return played;
}
