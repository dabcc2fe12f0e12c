#pragma once
// Root preparation of the evaluation as the root search does it, for the eval tests.
#include <gtest/gtest.h>

#include <string>

#include "tambloreval/tambloreval.h"
#include "tamblorbasis/tamblorbasis.h"
#include "test_support.h"

// Sets the board from FEN; with the engine to move unless opponentToMove.
inline void setBoard(EngineState& st, const std::string& fen, bool opponentToMove = false) {
    ASSERT_TRUE(parsePositionText(opponentToMove, fen, st)) << fen;
}

// Everything from scratch on the current board, then evaluate (all terms fresh) and lazyScore.
inline NodeState evaluateAtRoot(EngineState& st, int ply = 1) {
    NodeState n{};
    initMaterial(n, st);
    prepareRootTables(st);
    n.positionalTerm = sumPositional(st);
    initPawnSets(n, st);
    st.ply = ply;
    evaluate(n, true, 0, st);
    lazyScore(n, st);
    return n;
}
