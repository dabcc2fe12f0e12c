// The static evaluation's board walk: every piece's placement terms, pawn structure and
// passed pawns when they are due, the bishop colour terms and the king safety.
#include <algorithm>
#include <array>
#include <bit>

#include "tambloreval/board_sets.h"
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"

using namespace evalrules;

namespace {

// What one walk carries besides the node.
struct Walk {
    NodeState& n;
    EngineState& st;
    const std::uint8_t* b;
    std::uint64_t pawns;  // both colours, as board sets
    int toMoveTempo;  // 1 when White is to move (odd ply)
    int bestWhiteRunner = 0, bestBlackRunner = 0;
};

inline bool isBlackPiece(int v) { return (v & 3) == 2; }
inline bool isWhitePiece(int v) { return (v & 3) == 1; }

// --- Passed pawns --------------------------------------------------------------------

void whitePasser(Walk& w, int s) {
    NodeState& n = w.n;
    const EngineState& st = w.st;
    const int r = st.rankOf[s];
    const bool connected = n.whitePawnSet & st.pawnNeighbours[s];
    const int enemyPieces = n.blackPieceMaterial;
    if (enemyPieces > middleGamePieces) {
        n.passedPawns += connected ? middleGameConnectedPasser[r] : middleGameLonePasser[r];
        return;
    }
    n.passedPawns += (connected ? endingConnectedPasser[r] : endingLonePasser[r]) + wingPasserBonus[s];
    if (s >= 51 && enemyPieces <= queenOnly && n.whitePieceMaterial >= 490) {
        for (int t = s - 10; t > 20; t -= 10)
            if (w.b[t] == whiteRook) {  // a rook behind the passer
                n.passedPawns += 30;
                break;
            }
    }
    if (s >= 81 && !isBlackPiece(w.b[s + 10])) n.passedPawns += 50;
    if (enemyPieces < queenOnly) n.passedPawns += 4 * st.squareDistance[st.position.blackKingSquare][s + 10];
    if (enemyPieces <= 0) {
        n.passedPawns += wingPasserBonus[s];
        // The square rule against a lone king; a pawn on its home rank may step twice.
        const int t = s < 40 ? s + 10 : s;
        const int promotion = 90 + st.fileOf[t];
        if (st.squareDistance[promotion][st.position.blackKingSquare] > 9 - st.rankOf[t] - w.toMoveTempo)
            w.bestWhiteRunner = std::max(w.bestWhiteRunner, 32 * st.rankOf[t] + 400);
    }
}

void blackPasser(Walk& w, int s) {
    NodeState& n = w.n;
    const EngineState& st = w.st;
    const int r = 9 - st.rankOf[s];
    const bool connected = n.blackPawnSet & st.pawnNeighbours[s];
    const int enemyPieces = n.whitePieceMaterial;
    if (enemyPieces > middleGamePieces) {
        n.passedPawns -= connected ? middleGameConnectedPasser[r] : middleGameLonePasser[r];
        return;
    }
    n.passedPawns -= (connected ? endingConnectedPasser[r] : endingLonePasser[r]) + wingPasserBonus[s];
    if (s <= 68 && enemyPieces <= queenOnly && n.blackPieceMaterial >= 490) {
        for (int t = s + 10; t < 99; t += 10)
            if (w.b[t] == blackRook) {
                n.passedPawns -= 30;
                break;
            }
    }
    if (s <= 38 && !isWhitePiece(w.b[s - 10])) n.passedPawns -= 50;
    if (enemyPieces < queenOnly) n.passedPawns -= 4 * st.squareDistance[st.position.whiteKingSquare][s - 10];
    if (enemyPieces <= 0) {
        n.passedPawns -= wingPasserBonus[s];
        const int t = s > 80 ? s - 10 : s;
        const int promotion = 20 + st.fileOf[t];
        if (st.squareDistance[promotion][st.position.whiteKingSquare] > st.rankOf[t] - 1 + w.toMoveTempo)
            w.bestBlackRunner = std::max(w.bestBlackRunner, 32 * (9 - st.rankOf[t]) + 400);
    }
}

// --- Pieces --------------------------------------------------------------------------

// The pawns' memo for the node: found, or filled by one walk over the pawns.
PawnMemo& pawnTerms(const NodeState& n, const EngineState& st, const BoardSets& sets) {
    const PawnKey key{sets.pawns & sets.white, sets.pawns & sets.black, n.whitePawnSet, n.blackPawnSet};
    PawnMemo& memo = pawnMemo(key);
    if (memo.filled && memo.key == key) return memo;
    memo = PawnMemo{key, 0, 0, 0, 0, true, false};
    for (std::uint64_t p = key.boardWhite; p != 0; p &= p - 1) {
        const int bit = std::countr_zero(p), s = squareOfBit[bit];
        memo.structure += whitePawnShape(s, n, st);
        if (!(n.blackPawnSet & st.whitePassedMask[s])) memo.whitePassers |= std::uint64_t{1} << bit;
    }
    for (std::uint64_t p = key.boardBlack; p != 0; p &= p - 1) {
        const int bit = std::countr_zero(p), s = squareOfBit[bit];
        memo.structure += blackPawnShape(s, n, st);
        if (!(n.whitePawnSet & st.blackPassedMask[s])) memo.blackPassers |= std::uint64_t{1} << bit;
    }
    return memo;
}

// A bishop's diagonal in one direction, by set bit: its squares, and the first square off
// the board at its end. The bishop's look ends at the first pawn, or there.
struct Diagonal {
    std::uint64_t squares;
    int exit;
};

constexpr std::array<Diagonal, 64> diagonals(int fileStep, int rankStep) {
    std::array<Diagonal, 64> t{};
    for (int bit = 0; bit < 64; ++bit) {
        int f = (bit & 7) + fileStep, r = (bit >> 3) + rankStep;
        for (; f >= 0 && f < 8 && r >= 0 && r < 8; f += fileStep, r += rankStep)
            t[bit].squares |= std::uint64_t{1} << (8 * r + f);
        t[bit].exit = 21 + 10 * r + f;  // the frame square, in mailbox numbering
    }
    return t;
}
constexpr std::array<Diagonal, 64> upLeft = diagonals(-1, 1), upRight = diagonals(1, 1);
constexpr std::array<Diagonal, 64> downLeft = diagonals(-1, -1), downRight = diagonals(1, -1);

// Where the look along a diagonal stops: the nearest pawn, upwards the lowest bit,
// downwards the highest.
inline int stopUp(const Diagonal& d, std::uint64_t pawns) {
    const std::uint64_t hit = d.squares & pawns;
    return hit != 0 ? squareOfBit[std::countr_zero(hit)] : d.exit;
}
inline int stopDown(const Diagonal& d, std::uint64_t pawns) {
    const std::uint64_t hit = d.squares & pawns;
    return hit != 0 ? squareOfBit[63 - std::countl_zero(hit)] : d.exit;
}

void whiteBishopTerms(Walk& w, int s) {
    const std::uint8_t* b = w.b;
    const EngineState& st = w.st;
    if (s < 31) {
        // Shut in at home (knights in front are about to move away).
        if (b[s + 9] && b[s + 11] && b[s + 9] != whiteKnight && b[s + 11] != whiteKnight) w.n.pieceTerms -= 15;
    } else if (s >= 51 && b[s - 11] && b[s - 9]) {
        w.n.pieceTerms -= st.isEdgeFile[s] ? 120 : 30;  // cut off deep in enemy ground
    }
    if (s >= 81) {
        w.n.pieceTerms += 28;
    } else {
        // How far the bishop reaches forward, through pieces but not past pawns.
        const int bit = bitOfSquare[s];
        w.n.pieceTerms += st.whiteBishopReach[std::max(stopUp(upLeft[bit], w.pawns), stopUp(upRight[bit], w.pawns))];
    }
}

void blackBishopTerms(Walk& w, int s) {
    const std::uint8_t* b = w.b;
    const EngineState& st = w.st;
    if (s > 88) {
        if (b[s - 9] && b[s - 11] && b[s - 9] != blackKnight && b[s - 11] != blackKnight) w.n.pieceTerms += 15;
    } else if (s < 70 && b[s + 11] && b[s + 9]) {
        w.n.pieceTerms += st.isEdgeFile[s] ? 120 : 30;
    }
    if (s < 40) {
        w.n.pieceTerms -= 28;
    } else {
        const int bit = bitOfSquare[s];
        w.n.pieceTerms -= st.blackBishopReach[std::min(stopDown(downLeft[bit], w.pawns), stopDown(downRight[bit], w.pawns))];
    }
}

// A rook penned in by pieces on the centre side of a wing file; the first occupied
// square counts. The same squares and amounts serve both colours.
inline int crampedRook(const std::uint8_t* b, int s, int file) {
    switch (file) {
    case 1: return b[s + 1] ? 24 : b[s + 2] ? 16 : b[s + 3] ? 8 : 0;
    case 2: return b[s + 1] ? 16 : b[s + 2] ? 8 : 0;
    case 3: return b[s + 1] ? 8 : 0;
    case 6: return b[s - 1] ? 8 : 0;
    case 7: return b[s - 1] ? 16 : b[s - 2] ? 8 : 0;
    case 8: return b[s - 1] ? 24 : b[s - 2] ? 16 : b[s - 3] ? 8 : 0;
    default: return 0;
    }
}

void whiteRookTerms(Walk& w, int s) {
    if (s >= 81) {
        w.n.pieceTerms += 20;
        return;
    }
    const std::uint64_t file = w.st.whiteFrontSpan[s];
    if (!(w.n.whitePawnSet & file)) w.n.pieceTerms += (w.n.blackPawnSet & file) ? 15 : 20;
    w.n.pieceTerms -= crampedRook(w.b, s, w.st.fileOf[s]);
}

void blackRookTerms(Walk& w, int s) {
    if (s <= 38) {
        w.n.pieceTerms -= 20;
        return;
    }
    const std::uint64_t file = w.st.blackFrontSpan[s];
    if (!(w.n.blackPawnSet & file)) w.n.pieceTerms -= (w.n.whitePawnSet & file) ? 15 : 20;
    w.n.pieceTerms += crampedRook(w.b, s, w.st.fileOf[s]);
}

// A queen out on a wing file behind own men is out of play, unless she is at the king.
void whiteQueenTerms(Walk& w, int s) {
    const EngineState& st = w.st;
    if (st.squareDistance[s][st.position.blackKingSquare] <= 2 || s <= 38) return;
    const std::uint8_t* b = w.b;
    bool blocked = false;
    switch (st.fileOf[s]) {
    case 1: blocked = b[s - 9] || b[s - 18]; break;
    case 2: blocked = b[s - 9]; break;
    case 7: blocked = b[s - 11]; break;
    case 8: blocked = b[s - 11] || b[s - 22]; break;
    default: break;
    }
    if (blocked) w.n.pieceTerms -= 30;
}

void blackQueenTerms(Walk& w, int s) {
    const EngineState& st = w.st;
    if (st.squareDistance[s][st.position.whiteKingSquare] <= 2) {
        w.n.pieceTerms -= 40;  // close to the engine's king
        return;
    }
    if (s >= 81) return;
    const std::uint8_t* b = w.b;
    bool blocked = false;
    switch (st.fileOf[s]) {
    case 1: blocked = b[s + 11] || b[s + 22]; break;
    case 2: blocked = b[s + 11]; break;
    case 7: blocked = b[s + 9]; break;
    case 8: blocked = b[s + 9] || b[s + 18]; break;
    default: break;
    }
    if (blocked) w.n.pieceTerms += 30;
}

// Centralise the king in the ending; keep it sheltered at home in the middle game.
void whiteKingTerms(Walk& w, int s) {
    NodeState& n = w.n;
    const EngineState& st = w.st;
    const std::uint8_t* b = w.b;
    if (n.blackPieceMaterial <= middleGamePieces) {
        const int v = st.pieceSquare[whiteKing][s];
        n.kingPlacement += n.blackPieceMaterial <= queenOnly ? 4 * v : v;
        return;
    }
    if (s >= 41) {
        n.kingPlacement -= 150;
        return;
    }
    const int castling = st.position.whiteCastling;
    if (castling != 0) {
        if ((castling & kingSideRight) && b[37] != whitePawn && b[47] != whitePawn) n.kingPlacement -= 20;
        return;
    }
    const int home = s >= 31 ? s - 10 : s;
    const int file = st.fileOf[s];
    if (!(n.whitePawnSet & st.whiteFrontSpan[s])) n.kingPlacement -= 40;
    else if (b[file + 30] != whitePawn && b[file + 40] != whitePawn) n.kingPlacement -= 20;
    if (home >= 25) {
        if (b[37] != whitePawn && b[47] != whitePawn) n.kingPlacement -= 20;
        if (b[s + 9] != whitePawn && b[s + 18] != whitePawn) n.kingPlacement -= 10;
    } else {
        if (b[32] != whitePawn && b[42] != whitePawn) n.kingPlacement -= 20;
        if (b[s + 11] != whitePawn && b[s + 22] != whitePawn) n.kingPlacement -= 10;
    }
}

void blackKingTerms(Walk& w, int s) {
    NodeState& n = w.n;
    const EngineState& st = w.st;
    const std::uint8_t* b = w.b;
    if (n.whitePieceMaterial <= middleGamePieces) {
        const int v = st.pieceSquare[blackKing][s];
        n.kingPlacement += n.whitePieceMaterial <= queenOnly ? 4 * v : v;
        return;
    }
    if (s <= 78) {
        n.kingPlacement += 150;
        return;
    }
    const int castling = st.position.blackCastling;
    if (castling != 0) {
        if ((castling & kingSideRight) && b[87] != blackPawn && b[77] != blackPawn) n.kingPlacement += 20;
        return;
    }
    const int home = s <= 88 ? s + 10 : s;
    const int file = st.fileOf[s];
    if (!(n.blackPawnSet & st.blackFrontSpan[s])) n.kingPlacement += 40;
    else if (b[file + 80] != blackPawn && b[file + 70] != blackPawn) n.kingPlacement += 20;
    if (home >= 95) {
        if (b[87] != blackPawn && b[77] != blackPawn) n.kingPlacement += 20;
        if (b[s - 11] != blackPawn && b[s - 22] != blackPawn) n.kingPlacement += 10;
    } else {
        if (b[82] != blackPawn && b[72] != blackPawn) n.kingPlacement += 20;
        if (b[s - 9] != blackPawn && b[s - 18] != blackPawn) n.kingPlacement += 10;
    }
}

// An unguarded minor in an enemy slider's sight: knights fear rooks and bishops, bishops
// only rooks (queens do not count). A line piece sees a square when the first occupied
// square on its line from there is its own.
void exposureTerms(Walk& w, const BoardSets& sets) {
    const std::uint64_t colour[2] = {sets.white, sets.black};
    const std::uint64_t guarded[2] = {whitePawnGuards(sets.pawns & sets.white), blackPawnGuards(sets.pawns & sets.black)};
    for (int side = 0; side < 2; ++side) {
        const std::uint64_t enemy = colour[1 - side];
        const std::uint64_t rooks = sets.rooks & enemy, bishops = sets.bishops & enemy;
        if ((rooks | bishops) == 0) continue;
        const std::uint64_t exposed = colour[side] & ~guarded[side];
        int count = 0;
        forEachSquare(sets.knights & exposed, [&](int s) {
            if (seenBySliders(w.st, w.b, s, rooks, bishops)) ++count;
        });
        if (rooks != 0)
            forEachSquare(sets.bishops & exposed, [&](int s) {
                if (seenBySliders(w.st, w.b, s, rooks, 0)) ++count;
            });
        w.n.pieceTerms += side == 0 ? -20 * count : 20 * count;
    }
}

// A bishop suffers from own pawns on its colour; two bishops make a pair.
void bishopColourTerms(NodeState& n) {
    if (n.whiteBishopsOnDark) {
        n.pieceTerms -= 4 * n.whitePawnsOnDark;
        if (n.whiteBishopsOnLight) n.pieceTerms += 30 - 4 * n.whitePawnsOnLight;
    } else if (n.whiteBishopsOnLight) {
        n.pieceTerms -= 4 * n.whitePawnsOnLight;
    }
    if (n.blackBishopsOnDark) {
        n.pieceTerms += 4 * n.blackPawnsOnDark;
        if (n.blackBishopsOnLight) n.pieceTerms -= 30 - 4 * n.blackPawnsOnLight;
    } else if (n.blackBishopsOnLight) {
        n.pieceTerms += 4 * n.blackPawnsOnLight;
    }
}

}  // namespace

void evaluate(NodeState& n, bool pawnsChanged, int depth, EngineState& st) {
    // Above this material every passed-pawn term depends on the pawns alone, so the
    // parent's value stands until a pawn changes.
    const bool middleGame = n.whitePieceMaterial > middleGamePieces && n.blackPieceMaterial > middleGamePieces;
    const std::uint8_t* b = st.position.squares;
    const BoardSets sets = readBoardSets(b);
    Walk w{n, st, b, sets.pawns, st.ply & 1};

    // The pawn structure when a pawn changed; the passed pawns then, or at every node
    // once an ending makes them depend on more than the pawns.
    if (pawnsChanged || !middleGame) {
        PawnMemo& memo = pawnTerms(n, st, sets);
        if (pawnsChanged) n.pawnStructure = memo.structure;
        if (middleGame && memo.passersKnown) {
            n.passedPawns = memo.passers;
        } else {
            n.passedPawns = 0;
            forEachSquare(memo.whitePassers, [&](int s) { whitePasser(w, s); });
            forEachSquare(memo.blackPassers, [&](int s) { blackPasser(w, s); });
            if (middleGame) {
                memo.passers = n.passedPawns;
                memo.passersKnown = true;
            }
        }
    }
    n.pieceTerms = 0;
    n.kingPlacement = 0;

    // A centre pawn still at home behind a blocked square hampers development.
    if (b[34] == whitePawn && b[44] != emptySquare) n.pieceTerms -= 20;
    if (b[35] == whitePawn && b[45] != emptySquare) n.pieceTerms -= 20;
    if (b[84] == blackPawn && b[74] != emptySquare) n.pieceTerms += 20;
    if (b[85] == blackPawn && b[75] != emptySquare) n.pieceTerms += 20;
    // A knight's one placement term: standing in front of the c-pawn at home.
    if (b[43] == whiteKnight && b[33] == whitePawn && b[64] == blackPawn) n.pieceTerms -= 20;
    if (b[73] == blackKnight && b[83] == blackPawn && b[54] == whitePawn) n.pieceTerms += 20;
    forEachSquare(sets.bishops & sets.white, [&](int s) { whiteBishopTerms(w, s); });
    forEachSquare(sets.bishops & sets.black, [&](int s) { blackBishopTerms(w, s); });
    forEachSquare(sets.rooks & sets.white, [&](int s) { whiteRookTerms(w, s); });
    forEachSquare(sets.rooks & sets.black, [&](int s) { blackRookTerms(w, s); });
    forEachSquare(sets.queens & sets.white, [&](int s) { whiteQueenTerms(w, s); });
    forEachSquare(sets.queens & sets.black, [&](int s) { blackQueenTerms(w, s); });
    forEachSquare(sets.kings & sets.white, [&](int s) { whiteKingTerms(w, s); });
    forEachSquare(sets.kings & sets.black, [&](int s) { blackKingTerms(w, s); });
    exposureTerms(w, sets);
    bishopColourTerms(n);
    if (depth >= 0) kingSafety(n, st, sets);
    n.pieceTerms += w.bestWhiteRunner - w.bestBlackRunner;
}
