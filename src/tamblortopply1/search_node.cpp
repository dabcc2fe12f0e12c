// One node of the search below the root: it makes the move that leads to it, decides
// its legality, extensions, reductions and pruning, and searches its children.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "tamblorbasis/tamblorbasis.h"
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortopply1/move_check_before.h"
#include "tamblortopply1/tamblortopply1.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr int queenValue = 925;
constexpr int rookValue = 490;
constexpr int quietFutilityMargin = 80;      // below the horizon
constexpr int quietMarginNearHorizon = 350;  // at it or a ply above
constexpr int captureFutilityMargin = 150;   // below the horizon

// What a child hands back to its parent: its value, and whether its move was legal.
struct ChildOutcome {
    int value;
    bool legal;
};
ChildOutcome searchChildNode(EngineState& state, Move move, int depth, PvLine& pvLine, const NodeState& parent,
                             int initial, int cutoff, bool quietCut);

// The static terms of a node after its move: lazily (material and placement only) deep
// in null-move lines near the horizon, in full otherwise.
void evaluateNode(EngineState& state, NodeFrame& frame, int captured) {
    NodeState& n = frame.node;
    if (n.nullMoveCount > state.lazyNullLimit && frame.remaining <= 0) {
        lazyScore(n, state);
        return;
    }
    const Move move = frame.move;
    const bool pawnsChanged = isPawn(state.position.squares[moveTo(move)]) || isPawn(captured) ||
                              movePromotion(move) != 0;
    if (pawnsChanged) updatePawnSets(n, state, move, captured);
    evaluate(n, pawnsChanged, frame.remaining, state);
    lazyScore(n, state);
}

// A static score so far beyond the cutoff that the move is not worth searching.
inline bool futile(const NodeFrame& frame, int margin) {
    const int score = frame.node.score;
    return frame.maxNode ? frame.cutoff < score - margin : score + margin < frame.cutoff;
}

// Only a table collision could hand over a move that does not fit the board; such a
// move would move the wrong piece, so it is not played.
bool hashMoveFits(const EngineState& state, Move move, bool whiteToMove) {
    const std::uint8_t* b = state.position.squares;
    const int mover = b[moveFrom(move)];
    const int target = b[moveTo(move)];
    const int own = whiteToMove ? 1 : 2;
    if (mover == emptySquare || (mover & 3) != own || moveFrom(move) == moveTo(move)) return false;
    if (moveKind(move) == kindCapture) return (target & 3) == 3 - own;
    return target == emptySquare;
}

// The null move: when passing still leaves the opponent beaten, the node is cut.
bool nullMoveSearch(EngineState& state, NodeFrame& frame) {
    const int depth = nullMoveDepth(frame.remaining);
    const int enPassantPawn = state.position.enPassantPawn;
    NodeState child = frame.node;
    child.nullMoveCount += 1;
    PvLine childLine;
    const int value = searchChildNode(state, nullMove, depth, childLine, child, frame.cutoff, frame.value, false).value;
    state.position.enPassantPawn = static_cast<std::uint8_t>(enPassantPawn);
    --state.ply;
    if (state.stopSearch != 0) return false;
    return frame.maxNode ? value >= frame.cutoff : value <= frame.cutoff;
}

enum class ChildResult { next, cutoff, stop };

// A line holds a node's move and at most this many of the moves below it.
constexpr int maxLineTail = 27;

// The move, then as much of the child's line as fits; deep in the tree the move alone.
inline void recordLine(PvLine& line, Move move, const PvLine& child, bool withChild) {
    line.moves[1] = move;
    const int kept = withChild ? std::min(child.length, maxLineTail) : 0;
    for (int i = 1; i <= kept; ++i) line.moves[i + 1] = child.moves[i];
    line.length = kept + 1;
}

inline void saveOnce(EngineState& state, NodeFrame& frame) {
    if (!frame.saved) {
        saveSnapshot(frame.snapshot, state);
        frame.saved = true;
    }
}

// The root reports each legal move it has searched: counts for the first iteration,
// the thinking line for later ones.
void noteRootChild(EngineState& state, NodeFrame& frame, Move move, int value, const PvLine& childLine) {
    if (!frame.deepRoot) {
        ++state.legalRootMoves;
        const int victim = state.position.squares[moveTo(move)];
        if (moveKind(move) == kindCapture && !isPawn(victim)) ++frame.nonPawnCaptures;
        return;
    }
    if (!state.outputEnabled || state.searchDepth < 6) return;
    if (frame.pvLine->moves[1] != nullMove && value <= frame.value) return;
    Move line[pvLength] = {};
    line[1] = move;
    const int kept = std::min(childLine.length, maxLineTail);
    for (int i = 1; i <= kept; ++i) line[i + 1] = childLine.moves[i];
    frontEnd.printThinking(state, line, value, 20);
}

// At a node one or two plies from the horizon and not in check, a plain quiet move leaves
// its child these terms (no material changes, and no extension unless the move checks),
// so the child's futility test can be made here. Returns the child's cutoff beyond which
// such a child, if legal and not in check, is cut as futile; past every value when none is.
inline int noCutBound(bool maxNode) { return maxNode ? INT_MAX : INT_MIN; }
inline int quietCutBound(const EngineState& state, const NodeFrame& frame) {
    const NodeState& n = frame.node;
    const int none = noCutBound(frame.maxNode);
    if (frame.capturesOnly || frame.inCheck || state.ply < 4) return none;
    if (frame.remaining == 1) {
        // The child stays within a ply of the horizon and tests the score it was handed.
        return frame.maxNode ? n.score + quietMarginNearHorizon : n.score - quietMarginNearHorizon;
    }
    // The child goes below the horizon and tests its lazy score, here the same as ours in
    // the middle game (the ending rules look at the board).
    if (frame.remaining != 0 || n.whitePieceMaterial < queenValue || n.blackPieceMaterial < queenValue ||
        n.extensionCredit > 0)
        return none;
    const int score = termSum(n) + rookVersusMinors(n);
    return frame.maxNode ? score + quietFutilityMargin : score - quietFutilityMargin;
}

// Whether the child of this move is known to be cut as futile (see quietCutBound).
inline bool quietChildCut(const NodeFrame& frame, Move move, int bound) {
    const bool plainQuiet = move >> 16 == kindQuiet;  // the kind, and no promotion
    return plainQuiet && (frame.maxNode ? frame.value > bound : frame.value < bound);
}

// Below the horizon and not in check (and with no extension credit to cash, a ply above
// it), a capture hands its child our terms less the piece it takes, so the child's lazy
// score is known here while both sides keep a queen's worth of pieces.
inline bool captureCutsPossible(const EngineState& state, const NodeFrame& frame) {
    return frame.remaining <= 0 && !frame.inCheck && state.ply >= 4 &&
           (frame.remaining < 0 || frame.node.extensionCredit <= 0);
}

// Whether the child of this capture is known to be cut as futile, if legal and not in
// check; ourTerms: termSum of the node (see captureCutsPossible).
inline bool captureChildCut(const EngineState& state, const NodeFrame& frame, Move move, int ourTerms) {
    if (move >> 16 != kindCapture) return false;  // the kind, and no promotion
    const NodeState& n = frame.node;
    const int victim = state.position.squares[moveTo(move)];
    const int value = evalrules::materialValue[victim];
    const int type = victim >> 2;
    const int sign = (victim & 1) != 0 ? 1 : -1;  // White's piece taken: White loses
    const int piecesTaken = type >= 1 && type <= 4 ? value : 0;
    const int whitePieces = n.whitePieceMaterial - (sign > 0 ? piecesTaken : 0);
    const int blackPieces = n.blackPieceMaterial - (sign < 0 ? piecesTaken : 0);
    if (whitePieces < queenValue || blackPieces < queenValue) return false;
    const int rooksAfter = n.rookBalance - (type == 3 ? sign : 0);
    const int minorsAfter = n.minorBalance - (type == 1 || type == 2 ? sign : 0);
    const int score = ourTerms - sign * value + rookVersusMinors(rooksAfter, minorsAfter);
    return frame.maxNode ? score + captureFutilityMargin < frame.value : frame.value < score - captureFutilityMargin;
}

// Searches the child the move leads to in the given window and puts the board back;
// true when the move was legal.
inline bool visitChild(EngineState& state, NodeFrame& frame, Move move, int initial, int cutoff, PvLine& childLine,
                       int& value, bool quietCut) {
    if (frame.root && state.allowedRootMoveCount > 0 && !isAllowedRootMove(state, move)) return false;
    saveOnce(state, frame);
    const ChildOutcome outcome = searchChildNode(state, move, frame.remaining, childLine, frame.node, initial,
                                                 cutoff, quietCut);
    value = outcome.value;
    restoreSnapshot(frame.snapshot, state);
    --state.ply;
    return outcome.legal;
}

// A legal child's value and line, taken into the node: the best-move update.
[[gnu::always_inline]] inline ChildResult takeChild(EngineState& state, NodeFrame& frame, Move move, int value,
                                                    const PvLine& childLine) {
    if (frame.root) noteRootChild(state, frame, move, value, childLine);

    const bool better = frame.maxNode ? value > frame.value : value < frame.value;
    bool recorded = better;
    if (frame.pvLine->moves[1] == nullMove && !frame.capturesOnly) {
        // A full-width node keeps its first legal move even when it improves nothing.
        recorded = true;
        state.plyInfo[state.ply + 1].firstMoveDone = 1;
        if (frame.root) state.iterationHasBest = true;
    }
    if (recorded) recordLine(*frame.pvLine, move, childLine, state.ply <= 30);
    if (!better) return ChildResult::next;
    frame.value = value;
    return (frame.maxNode ? value >= frame.cutoff : value <= frame.cutoff) ? ChildResult::cutoff : ChildResult::next;
}

// Searches one child and applies the best-move update. Inlined into searchWithScout,
// which every move but the hash move passes through: a call less per move.
[[gnu::always_inline]] inline ChildResult searchChildInline(EngineState& state, NodeFrame& frame, Move move,
                                                            bool quietCut) {
    int value = 0;
    PvLine childLine;
    const bool childLegal = visitChild(state, frame, move, frame.cutoff, frame.value, childLine, value, quietCut);
    if (state.stopSearch != 0) return ChildResult::stop;
    if (!childLegal) return ChildResult::next;
    return takeChild(state, frame, move, value, childLine);
}

// A child the parent found futile should its move be legal and give no check: when the
// board before the move already shows both (see isSafeSilentMove), and no poll falls
// due on it, the child is counted and taken with its cutoff, the parent's value, without
// making its move or calling it. False when the child must be searched.
template <bool capture = false>
[[gnu::noinline]] bool cutUnplayed(EngineState& state, NodeFrame& frame, Move move) {
    if (state.stopSearch != 0 || (state.outputEnabled && ((state.nodeCount + 1) & 32767) == 0)) return false;
    if constexpr (capture) {
        if (!isSafeSilentMove<true>(state, move, frame.maxNode)) return false;
    } else {
        // Whether the man can expose no king by leaving its square: asked once per man, as
        // its quiet moves follow each other.
        const int from = moveFrom(move);
        if (from != frame.quietFrom) {
            frame.quietFrom = from;
            frame.fromQuiet = fromSquareIsQuiet(state, from, frame.maxNode);
        }
        if (frame.fromQuiet ? !isSafeQuietMoveFromQuietSquare(state, move, frame.maxNode)
                            : !isSafeSilentMove<false>(state, move, frame.maxNode))
            return false;
    }
    ++state.nodeCount;
    // What takeChild does with a value that improves nothing and an empty line, below the
    // root (such cuts start four plies down): only a full-width node's first legal move is kept.
    if (frame.pvLine->moves[1] == nullMove && !frame.capturesOnly) {
        state.plyInfo[state.ply + 1].firstMoveDone = 1;
        frame.pvLine->moves[1] = move;
        frame.pvLine->length = 1;
    }
    return true;
}

ChildResult searchChild(EngineState& state, NodeFrame& frame, Move move, bool quietCut) {
    if (quietCut && cutUnplayed(state, frame, move)) return ChildResult::next;
    return searchChildInline(state, frame, move, quietCut);
}

// A zero-width look at the move: can it beat the node's value at all? Rare, so kept out
// of line: inlined, it made every call of searchWithScout save more registers.
[[gnu::noinline]] bool scoutSearch(EngineState& state, NodeFrame& frame, Move move) {
    state.scoutPly = state.ply;
    int value = 0;
    PvLine childLine;
    const bool childLegal = visitChild(state, frame, move, frame.maxNode ? frame.value + 1 : frame.value - 1,
                                       frame.value, childLine, value, false);
    state.scoutPly = 0;
    return childLegal && state.stopSearch == 0 && (frame.maxNode ? value > frame.value : value < frame.value);
}

// A capture or quiet move: the scout first where it pays, then the full search.
ChildResult searchWithScout(EngineState& state, NodeFrame& frame, Move move, bool quietCut) {
    if (frame.root && frame.deepRoot && rootTimeUp(state, frame.value) && ponderMove == nullMove) {
        state.stopSearch = 1;
        return ChildResult::stop;
    }
    if ((!frame.root || frame.deepRoot) && frame.remaining >= 2 && std::abs(frame.value - frame.cutoff) >= 2 &&
        frame.pvLine->moves[1] != nullMove && !scoutSearch(state, frame, move))
        return state.stopSearch != 0 ? ChildResult::stop : ChildResult::next;
    return searchChildInline(state, frame, move, quietCut);
}

// A cutoff: the move is stored as the node's refutation.
inline void storeCutoff(EngineState& state, const NodeFrame& frame, Move move) {
    if (frame.storeAllowed) storeMainTable(state, move, frame.value, frame.remaining, frame.node);
}

}  // namespace

bool isAllowedRootMove(const EngineState& state, Move move) {
    for (int i = 0; i < state.allowedRootMoveCount; ++i)
        if (state.allowedRootMoves[i] == move) return true;
    return false;
}

int nullMoveDepth(int remaining) { return remaining <= 2 ? 1 : remaining <= 5 ? remaining - 2 : remaining - 3; }

bool pollWhileSearching(EngineState& state, bool clockTest) {
    if ((state.nodeCount & 32767) != 0 || !state.outputEnabled) return false;
    if (clockTest && ponderMove == nullMove && state.searchDepth > 3 && elapsedSinceStart(state) > state.maxTime) {
        state.stopSearch = 1;
        return true;
    }
    frontEnd.inputWhileThinking(state, true);
    return state.stopSearch != 0;
}

bool searchMoves(EngineState& state, NodeFrame& frame) {
    frame.quietFrom = 0;
    const int ply = state.ply;
    const bool white = frame.maxNode;
    const int noBound = noCutBound(white);
    const int quietBound = quietCutBound(state, frame);
    const bool captureCuts = captureCutsPossible(state, frame);
    const int ourTerms = captureCuts ? termSum(frame.node) : 0;

    if (!frame.capturesOnly && frame.hashMove != nullMove && hashMoveFits(state, frame.hashMove, white)) {
        const ChildResult result =
            searchChild(state, frame, frame.hashMove, quietChildCut(frame, frame.hashMove, quietBound));
        if (result == ChildResult::stop) return true;
        if (result == ChildResult::cutoff) {
            if (moveKind(frame.hashMove) == kindQuiet) updateKillers(state, frame.hashMove, ply, frame.inCheck);
            storeCutoff(state, frame, frame.hashMove);
            return true;
        }
        // Directly under a scout the hash move alone decides.
        if (!frame.root && ply - 1 == state.scoutPly) return true;
    }

    Move* const first = frame.list.moves + 1;
    Move* const top = frame.list.moves + moveListCapacity;
    Move* parked = top;  // captures of defended pawns wait for the quiet phase
    Move* cursor = frame.list.moves;
    if (white)
        generateWhiteCaptures(cursor, state);
    else
        generateBlackCaptures(cursor, state);
    const std::uint8_t* b = state.position.squares;
    for (Move* slot = cursor - 1; slot >= first; --slot) {
        pickBestCapture(first, slot, state);
        const Move move = *slot;
        if (move == frame.hashMove) continue;
        const int target = b[moveTo(move)];
        if ((target == emptySquare || isPawn(target)) && !isPawn(b[moveFrom(move)]) &&
            isSquareAttacked(state, moveTo(move), !white)) {
            if (!frame.capturesOnly) *--parked = move;
            continue;
        }
        const bool cut = captureCuts && captureChildCut(state, frame, move, ourTerms);
        if (cut && cutUnplayed<true>(state, frame, move)) continue;
        const ChildResult result = searchWithScout(state, frame, move, cut);
        if (result == ChildResult::stop) return true;
        if (result == ChildResult::cutoff) {
            storeCutoff(state, frame, move);
            return true;
        }
    }
    if (frame.capturesOnly) return false;

    // The killers first, then the parked captures (the first parked first), then the
    // quiet moves from the end of their list; the hash move and the killers are not
    // tried twice. A killer that cuts saves the quiet list.
    const int king = white ? state.position.whiteKingSquare : state.position.blackKingSquare;
    const auto tryQuiet = [&](Move move) {
        if (frame.inCheck && !mayAnswerCheck(state, frame.move, move, king)) return false;
        const bool cut = quietBound != noBound && quietChildCut(frame, move, quietBound);
        if (cut && cutUnplayed(state, frame, move)) return false;
        const ChildResult result = searchWithScout(state, frame, move, cut);
        if (result == ChildResult::stop) return true;
        if (result != ChildResult::cutoff) return false;
        if (moveKind(move) == kindQuiet) updateKillers(state, move, ply, frame.inCheck);
        storeCutoff(state, frame, move);
        return true;
    };
    Move killers[6];
    const int killerCount = chooseKillers(state, killers, frame.hashMove, ply, frame.inCheck, white);
    for (int k = killerCount - 1; k >= 0; --k)
        if (tryQuiet(killers[k])) return true;

    cursor = frame.list.moves;
    if (white)
        generateWhiteQuietMoves(cursor, state);
    else
        generateBlackQuietMoves(cursor, state);
    for (Move* p = parked; p < top; ++p) *cursor++ = *p;
    // Each killer stands once in the list: once passed over, it is looked for no more.
    int pending = killerCount;
    // The to-squares of the moves already tried (folded onto 64 bits): most moves go
    // elsewhere and need no compare with them.
    std::uint64_t triedTo = std::uint64_t{1} << (moveTo(frame.hashMove) & 63);
    for (int k = 0; k < killerCount; ++k) triedTo |= std::uint64_t{1} << (moveTo(killers[k]) & 63);
    for (Move* slot = cursor - 1; slot >= first; --slot) {
        const Move move = *slot;
        if ((triedTo >> (moveTo(move) & 63)) & 1) {
            if (move == frame.hashMove) continue;
            int k = 0;
            while (k < pending && killers[k] != move) ++k;
            if (k < pending) {
                killers[k] = killers[--pending];
                continue;
            }
        }
        if (tryQuiet(move)) return true;
    }
    return false;
}

void finishNode(EngineState& state, NodeFrame& frame) {
    const Move best = frame.pvLine->moves[1];
    const int ply = state.ply;
    if (best == nullMove) {
        frame.value = !frame.inCheck ? 0 : frame.maxNode ? ply - (mateScore + 1) : (mateScore + 2) - ply;
        return;
    }
    if (frame.value != frame.initial) {
        if (moveKind(best) == kindQuiet) updateKillers(state, best, ply, frame.inCheck);
        if (frame.storeAllowed) storeMainTable(state, best, frame.value, frame.remaining, frame.node);
    } else if (frame.storeAllowed && !frame.root) {
        storeScoreTable(state, frame.value, frame.remaining, frame.node);
    }
}

namespace {

// The body of searchNode; returns with frame.value set. Inlined into it, so that a node
// costs one call, not two. quietCut: the parent found this child futile should its move
// be legal and give no check (see quietCutBound, captureChildCut).
[[gnu::always_inline]] inline void runNode(EngineState& state, NodeFrame& frame, bool& legal, int depth,
                                           const NodeState& parent, bool quietCut) {
    const int ply = ++state.ply;
    frame.remaining = depth - 1;
    frame.maxNode = (ply & 1) != 0;
    ++state.nodeCount;
    if (state.stopSearch != 0 || pollWhileSearching(state, true)) return;

    // Making the move, and its legality.
    const Move move = frame.move;
    int captured = emptySquare;
    if (moveKind(move) == kindCastling) {
        if (!isCastlingPathSafe(state, move)) return;
        makeMove(state, move);
    } else {
        captured = makeMove(state, move);
        if (move != nullMove && !isLegalAfterMove(state, move, frame.maxNode)) return;
    }
    legal = true;

    NodeState& n = frame.node;
    clearLine(*frame.pvLine);
    if (frame.remaining == 1) state.nullMoveAllowed = true;

    if (move != nullMove) {
        updateCheckFlag(state, move, frame.maxNode);
        frame.inCheck = state.plyInfo[ply + 1].inCheck > 0;
        if (quietCut && !frame.inCheck) {
            frame.value = frame.cutoff;
            return;
        }
        n = parent;  // copied only now: illegal and cut children never read it
        updateMaterial(n, state, move, captured);

        const int r = frame.remaining;
        if (r >= -1 && n.extensionBudget > 0) {
            if (r > 0)
                creditExtension(frame, extensionWeight(state, frame, captured));
            else if (r == 0 || n.extensionCredit > -8)
                creditExtension(frame, checkExtensionWeight(state, frame));
        }

        if (!frame.inCheck && ply > 4) {
            const bool plain = moveKind(move) == kindQuiet && movePromotion(move) == 0;
            if (frame.remaining < 0) {
                lazyScore(n, state);
                int margin = plain ? quietFutilityMargin : captureFutilityMargin;
                if (n.whitePieceMaterial < queenValue || n.blackPieceMaterial < queenValue) margin += 100;
                if (futile(frame, margin)) {  // also in quietCutBound and captureChildCut
                    frame.value = frame.cutoff;
                    return;
                }
            } else if (frame.remaining <= 1 && plain && futile(frame, quietMarginNearHorizon)) {
                frame.value = frame.cutoff;
                return;
            }
        }
        frame.capturesOnly = frame.remaining < 0 && !frame.inCheck;
        n.positionalTerm += positionalDelta(state, move, captured);
    } else {
        n = parent;
        state.plyInfo[ply + 1].inCheck = 0;
        frame.capturesOnly = frame.remaining < 0;
    }
    if (ply >= maxSearchPly) frame.capturesOnly = true;

    if (frame.capturesOnly) {
        if (move != nullMove) evaluateNode(state, frame, captured);
        // Standing pat: the side to move need not capture.
        if (frame.maxNode ? frame.value < n.score : frame.value > n.score) {
            frame.value = n.score;
            if (frame.maxNode ? frame.value >= frame.cutoff : frame.value <= frame.cutoff) return;
        }
        if (ply >= maxSearchPly) return;
        state.plyInfo[ply + 1].firstMoveDone = 1;
        searchMoves(state, frame);
        return;
    }

    const int r = frame.remaining;
    if (r >= 0) {
        if (move != nullMove)
            updateKey(n, state, move, captured);
        else
            n.castleEpState = static_cast<std::uint8_t>(castlingByte(state.position));
        // The probes below wait for memory: start fetching their entries now.
        prefetchMainTable(frame.maxNode, n.keyLow);
        if (ply >= 3) prefetchScoreTable(frame.maxNode, n.keyLow);
        frame.storeAllowed = true;

        const bool reversible = move != nullMove && moveKind(move) < kindEnPassant &&
                                !isPawn(state.position.squares[moveTo(move)]) && movePromotion(move) == 0;
        n.reversibleCount = reversible ? n.reversibleCount + 1 : 0;
        if (n.reversibleCount >= 100 && (n.reversibleCount > 100 || !frame.inCheck)) {
            frame.value = 0;
            return;
        }
        for (int back = 4; ply - back > 0 && n.reversibleCount - back >= 0; back += 2) {
            const RepetitionRecord& earlier = state.repetitionRecords[ply - back];
            if (earlier.keyLow == n.keyLow && earlier.keyHigh == n.keyHigh &&
                earlier.castleEpState == n.castleEpState) {
                frame.value = 0;
                return;
            }
        }
        if (ply <= 6 && state.gameRepetitionCheck && ply <= n.reversibleCount &&
            isRepetition(state, state.position, frame.maxNode, 2, n.keyLow, n.keyHigh)) {
            frame.value = 0;
            return;
        }
        if (probeMainTable(state, frame.cutoff, r, frame.hashMove, n)) {
            frame.value = frame.cutoff;
            frame.pvLine->moves[1] = frame.hashMove;
            frame.pvLine->length = 1;
            return;
        }
        if (ply >= 3 && probeScoreTable(state, frame.initial, r, n)) return;
        state.repetitionRecords[ply] = {n.keyLow, n.keyHigh, n.castleEpState};
    }

    state.plyInfo[ply + 1].firstMoveDone = 0;
    if (move != nullMove) evaluateNode(state, frame, captured);

    const int sideMaterial = frame.maxNode ? n.whitePieceMaterial : n.blackPieceMaterial;
    if (r >= 2 && !frame.inCheck && state.nullMoveAllowed && sideMaterial > rookValue) {
        if (nullMoveSearch(state, frame)) {
            frame.value = frame.cutoff;
            return;
        }
        if (state.stopSearch != 0) return;
    }

    // A late move is first searched shallower, at zero width around the cutoff.
    int keptValue = frame.value;
    if (frame.reduction > 0) {
        frame.remaining -= frame.reduction;
        n.reductionBalance[ply & 1] -= 1;
        frame.value = frame.maxNode ? frame.cutoff - 1 : frame.cutoff + 1;
    }
    for (;;) {
        if (searchMoves(state, frame)) return;
        if (frame.pvLine->moves[1] != nullMove && frame.reduction > 0) {
            // It did not fail: search it again at full depth and width.
            frame.value = keptValue;
            frame.remaining += frame.reduction;
            frame.reduction = -frame.reduction;
            n.reductionBalance[ply & 1] += 1;
            frame.hashMove = frame.pvLine->moves[1];
            clearLine(*frame.pvLine);
            state.plyInfo[ply + 1].firstMoveDone = 0;
            continue;
        }
        finishNode(state, frame);
        return;
    }
}

}  // namespace

namespace {

// All of a new frame but its node terms, which a child copies only once it needs them.
inline void openFrameFields(NodeFrame& frame, PvLine* pvLine, Move move, int initial, int cutoff) {
    frame.pvLine = pvLine;
    frame.move = move;
    frame.value = initial;
    frame.initial = initial;
    frame.cutoff = cutoff;
    frame.reduction = 0;
    frame.maxNode = false;
    frame.capturesOnly = false;
    frame.storeAllowed = false;
    frame.inCheck = false;
    frame.hashMove = nullMove;
    frame.saved = false;
    frame.root = false;
    frame.deepRoot = false;
    frame.nonPawnCaptures = 0;
}

ChildOutcome searchChildNode(EngineState& state, Move move, int depth, PvLine& pvLine, const NodeState& parent,
                             int initial, int cutoff, bool quietCut) {
    NodeFrame frame;
    openFrameFields(frame, &pvLine, move, initial, cutoff);
    bool legal = false;
    runNode(state, frame, legal, depth, parent, quietCut);
    return {frame.value, legal};
}

}  // namespace

void openFrame(NodeFrame& frame, const NodeState& parent, PvLine* pvLine, Move move, int initial, int cutoff) {
    frame.node = parent;
    openFrameFields(frame, pvLine, move, initial, cutoff);
}

void searchNode(EngineState& state, bool& legal, Move move, int depth, PvLine& pvLine, int& value,
                const NodeState& parent, int initial, int cutoff) {
    const ChildOutcome outcome = searchChildNode(state, move, depth, pvLine, parent, initial, cutoff, false);
    legal = outcome.legal;
    value = outcome.value;
}
