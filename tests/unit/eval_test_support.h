#pragma once
// Root preparation of the evaluation as the root search does it, for the eval tests.
#include <gtest/gtest.h>

#include <string>

#include "tambloreval/tambloreval.h"
#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

// From scratch on the current board: material, root tables, positional sum, pawn sets,
// then evaluate (all terms fresh) and lazyScore.
inline NodeState evaluateAtRoot(EngineState& st, int ply = 1, int depth = 0) {
    NodeState n{};
    initMaterial(n, st);
    prepareRootTables(st);
    n.positionalTerm = sumPositional(st);
    initPawnSets(n, st);
    st.ply = ply;
    evaluate(n, true, depth, st);
    lazyScore(n, st);
    return n;
}

// Sets the board from FEN; with the engine to move unless opponentToMove.
inline void setBoard(EngineState& st, const std::string& fen, bool opponentToMove = false) {
    ASSERT_TRUE(parsePositionText(opponentToMove, fen, st)) << fen;
}
