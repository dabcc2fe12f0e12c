// The root node: makes the handed move, prepares evaluation and key from scratch, and
// searches the engine's moves with the loop every node uses.
#include "tamblorbasis/tamblorbasis.h"
#include "tambloreval/tambloreval.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblortopply1/tamblortopply1.h"

namespace {

constexpr int easyMoveMargin = 250;
constexpr int lazyNullMaterial = 1726;

// Plays the handed move. The first iteration refuses one that leaves the opponent's
// king attacked, or castles out of or through check; later ones only repeat it.
bool playHandedMove(EngineState& state, Move move, bool firstIteration) {
    const bool castling = moveKind(move) == kindCastling;
    if (firstIteration && castling &&
        (isSquareAttacked(state, state.position.blackKingSquare, true) || !isCastlingPathSafe(state, move)))
        return false;
    if (move != nullMove) makeMove(state, move);
    return !(firstIteration && !castling && isSquareAttacked(state, state.position.blackKingSquare, true));
}

}  // namespace

void searchRoot(EngineState& state, Move move, int depth, int cutoff, Move* pv, int& value, const NodeState& root,
                int initial) {
    const bool deep = state.searchDepth > 3;
    NodeFrame frame;
    PvLine line;
    openFrame(frame, root, &line, move, initial, cutoff);
    frame.remaining = depth - 1;
    frame.maxNode = true;
    frame.root = true;
    frame.deepRoot = deep;

    ++state.ply;
    ++state.nodeCount;
    if (state.stopSearch != 0 || pollWhileSearching(state, deep)) return;

    state.plyInfo[2].firstMoveDone = 0;
    state.iterationHasBest = false;
    if (deep) {
        state.position = state.rootPosition;
    } else {
        state.legalRootMoves = 0;
        state.easyMove = nullMove;
    }
    const int castleBefore = castlingByte(state.position);
    if (!playHandedMove(state, move, !deep)) {
        state.replyReady = false;
        return;
    }
    if (!deep) state.replyReady = true;

    clearLine(line);
    frame.inCheck = isSquareAttacked(state, state.position.whiteKingSquare, false);
    state.plyInfo[2].inCheck = frame.inCheck ? 1 : 0;

    NodeState& n = frame.node;
    initMaterial(n, state);
    prepareRootTables(state);
    n.positionalTerm = sumPositional(state);

    const bool irreversible = move == nullMove || moveKind(move) > 39 ||
                              isPawn(state.position.squares[moveTo(move)]) || movePromotion(move) != 0;
    if (irreversible) {
        n.reversibleCount = move == nullMove ? state.gameReversibleCount : 0;
        state.gameRepetitionCheck = false;
    } else {
        n.reversibleCount = state.gameReversibleCount + 1;
        if (!deep)
            state.gameRepetitionCheck = state.historyCount > 1 && castlingByte(state.position) == castleBefore;
    }

    initPawnSets(n, state);
    evaluate(n, true, frame.remaining, state);
    lazyScore(n, state);
    state.scoutPly = 0;
    if (!deep)
        state.lazyNullLimit =
            n.whitePieceMaterial < lazyNullMaterial || n.blackPieceMaterial < lazyNullMaterial ? 1000 : 0;

    computeKey(n, state);
    storeRootLine(state, n);
    state.nullMoveAllowed = false;
    probeMainTable(state, cutoff, frame.remaining, frame.hashMove, n);  // for its move only
    state.repetitionRecords[1] = {n.keyLow, n.keyHigh, n.castleEpState};
    frame.storeAllowed = frame.remaining >= 0;

    if (!searchMoves(state, frame)) {
        finishNode(state, frame);
        // A capture of a piece far beyond the static score, and the only one: easy.
        const Move best = line.moves[1];
        if (!deep && best != nullMove && moveKind(best) == kindCapture &&
            !isPawn(state.position.squares[moveTo(best)]) && frame.nonPawnCaptures == 1 &&
            frame.value > n.score + easyMoveMargin)
            state.easyMove = best;
    }
    writeLine(pv, line);
    value = frame.value;
}
