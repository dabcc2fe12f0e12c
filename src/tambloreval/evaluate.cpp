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

// What the passed-pawn walk carries besides the node.
struct Walk {
    const NodeState& n;
    const EngineState& st;
    const std::uint8_t* b;
    int toMoveTempo;  // 1 when White is to move (odd ply)
    int passers = 0;
    int bestWhiteRunner = 0, bestBlackRunner = 0;
};

inline bool isBlackPiece(int v) { return (v & 3) == 2; }
inline bool isWhitePiece(int v) { return (v & 3) == 1; }

// --- Passed pawns --------------------------------------------------------------------

void whitePasser(Walk& w, int s) {
    const NodeState& n = w.n;
    const EngineState& st = w.st;
    const int r = st.rankOf[s];
    const bool connected = n.whitePawnSet & st.pawnNeighbours[s];
    const int enemyPieces = n.blackPieceMaterial;
    if (enemyPieces > middleGamePieces) {
        w.passers += connected ? middleGameConnectedPasser[r] : middleGameLonePasser[r];
        return;
    }
    w.passers += (connected ? endingConnectedPasser[r] : endingLonePasser[r]) + wingPasserBonus[s];
    if (s >= 51 && enemyPieces <= queenOnly && n.whitePieceMaterial >= 490) {
        for (int t = s - 10; t > 20; t -= 10)
            if (w.b[t] == whiteRook) {  // a rook behind the passer
                w.passers += 30;
                break;
            }
    }
    if (s >= 81 && !isBlackPiece(w.b[s + 10])) w.passers += 50;
    if (enemyPieces < queenOnly) w.passers += 4 * st.squareDistance[st.position.blackKingSquare][s + 10];
    if (enemyPieces <= 0) {
        w.passers += wingPasserBonus[s];
        // The square rule against a lone king; a pawn on its home rank may step twice.
        const int t = s < 40 ? s + 10 : s;
        const int promotion = 90 + st.fileOf[t];
        if (st.squareDistance[promotion][st.position.blackKingSquare] > 9 - st.rankOf[t] - w.toMoveTempo)
            w.bestWhiteRunner = std::max(w.bestWhiteRunner, 32 * st.rankOf[t] + 400);
    }
}

void blackPasser(Walk& w, int s) {
    const NodeState& n = w.n;
    const EngineState& st = w.st;
    const int r = 9 - st.rankOf[s];
    const bool connected = n.blackPawnSet & st.pawnNeighbours[s];
    const int enemyPieces = n.whitePieceMaterial;
    if (enemyPieces > middleGamePieces) {
        w.passers -= connected ? middleGameConnectedPasser[r] : middleGameLonePasser[r];
        return;
    }
    w.passers -= (connected ? endingConnectedPasser[r] : endingLonePasser[r]) + wingPasserBonus[s];
    if (s <= 68 && enemyPieces <= queenOnly && n.blackPieceMaterial >= 490) {
        for (int t = s + 10; t < 99; t += 10)
            if (w.b[t] == blackRook) {
                w.passers -= 30;
                break;
            }
    }
    if (s <= 38 && !isWhitePiece(w.b[s - 10])) w.passers -= 50;
    if (enemyPieces < queenOnly) w.passers -= 4 * st.squareDistance[st.position.whiteKingSquare][s - 10];
    if (enemyPieces <= 0) {
        w.passers -= wingPasserBonus[s];
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

// A bishop's diagonal in one direction, by set bit: its squares, and a square on the rank
// just past its end (none past the eighth or the first rank). A bit scan over the
// diagonal's pawns and that square finds the rank where the bishop's look stops: the
// nearest pawn's, or the first rank off the diagonal. Upwards the nearest is the lowest
// bit, downwards the highest.
struct Diagonal {
    std::uint64_t squares, end;
};

constexpr std::array<Diagonal, 64> diagonals(int fileStep, int rankStep) {
    std::array<Diagonal, 64> t{};
    for (int bit = 0; bit < 64; ++bit) {
        int f = (bit & 7) + fileStep, r = (bit >> 3) + rankStep;
        for (; f >= 0 && f < 8 && r >= 0 && r < 8; f += fileStep, r += rankStep)
            t[bit].squares |= std::uint64_t{1} << (8 * r + f);
        if (r >= 0 && r < 8) t[bit].end = std::uint64_t{1} << (8 * r);
    }
    return t;
}
constexpr std::array<Diagonal, 64> upLeft = diagonals(-1, 1), upRight = diagonals(1, 1);
constexpr std::array<Diagonal, 64> downLeft = diagonals(-1, -1), downRight = diagonals(1, -1);

// The bit where the look stops: 64 and -1 stand for the ranks past the board's edge.
inline int stopUp(const Diagonal& d, std::uint64_t pawns) { return std::countr_zero((d.squares & pawns) | d.end); }
inline int stopDown(const Diagonal& d, std::uint64_t pawns) {
    return 63 - std::countl_zero((d.squares & pawns) | d.end);
}
// The reach tables go by the rank of a mailbox square; ranks -1 to 8 (0 = the first).
inline int onRank(int rank) { return 21 + 10 * rank; }

// Each man's term is returned from White's side; the sums stay in registers, since a
// store into the node could be a store into the board as far as the compiler knows.

int whiteBishopTerms(const EngineState& st, const std::uint8_t* b, std::uint64_t pawns, int bit) {
    const int s = squareOfBit[bit];
    int t = 0;
    if (s < 31) {
        // Shut in at home (knights in front are about to move away).
        if (b[s + 9] && b[s + 11] && b[s + 9] != whiteKnight && b[s + 11] != whiteKnight) t -= 15;
    } else if (s >= 51 && b[s - 11] && b[s - 9]) {
        t -= st.isEdgeFile[s] ? 120 : 30;  // cut off deep in enemy ground
    }
    if (s >= 81) return t + 28;
    // How far the bishop reaches forward, through pieces but not past pawns.
    const int stop = std::max(stopUp(upLeft[bit], pawns), stopUp(upRight[bit], pawns));
    return t + st.whiteBishopReach[onRank(stop >> 3)];
}

int blackBishopTerms(const EngineState& st, const std::uint8_t* b, std::uint64_t pawns, int bit) {
    const int s = squareOfBit[bit];
    int t = 0;
    if (s > 88) {
        if (b[s - 9] && b[s - 11] && b[s - 9] != blackKnight && b[s - 11] != blackKnight) t += 15;
    } else if (s < 70 && b[s + 11] && b[s + 9]) {
        t += st.isEdgeFile[s] ? 120 : 30;
    }
    if (s < 40) return t - 28;
    const int stop = std::min(stopDown(downLeft[bit], pawns), stopDown(downRight[bit], pawns));
    return t - st.blackBishopReach[onRank(stop >> 3)];
}

// A rook penned in by men on the centre side of a wing file; the first occupied square
// counts. By the rook's file and its rank's occupancy; the same for both colours.
constexpr std::array<std::array<std::int8_t, 256>, 8> crampedRook = [] {
    std::array<std::array<std::int8_t, 256>, 8> t{};
    for (int rank = 0; rank < 256; ++rank) {
        const auto on = [rank](int file) { return (rank >> file & 1) != 0; };
        t[0][rank] = on(1) ? 24 : on(2) ? 16 : on(3) ? 8 : 0;
        t[1][rank] = on(2) ? 16 : on(3) ? 8 : 0;
        t[2][rank] = on(3) ? 8 : 0;
        t[5][rank] = on(4) ? 8 : 0;
        t[6][rank] = on(5) ? 16 : on(4) ? 8 : 0;
        t[7][rank] = on(6) ? 24 : on(5) ? 16 : on(4) ? 8 : 0;
    }
    return t;
}();

inline int cramped(std::uint64_t occupied, int bit) {
    return crampedRook[bit & 7][(occupied >> (bit & 56)) & 0xff];
}

int whiteRookTerms(const EngineState& st, std::uint64_t occupied, std::uint64_t ownPawns, std::uint64_t enemyPawns, int bit) {
    const int s = squareOfBit[bit];
    if (s >= 81) return 20;
    const std::uint64_t file = st.whiteFrontSpan[s];
    int t = -cramped(occupied, bit);
    if (!(ownPawns & file)) t += (enemyPawns & file) ? 15 : 20;
    return t;
}

int blackRookTerms(const EngineState& st, std::uint64_t occupied, std::uint64_t ownPawns, std::uint64_t enemyPawns, int bit) {
    const int s = squareOfBit[bit];
    if (s <= 38) return -20;
    const std::uint64_t file = st.blackFrontSpan[s];
    int t = cramped(occupied, bit);
    if (!(ownPawns & file)) t -= (enemyPawns & file) ? 15 : 20;
    return t;
}

// A queen out on a wing file behind own men is out of play, unless she is at the king.
int whiteQueenTerms(const EngineState& st, const std::uint8_t* b, int bit) {
    const int s = squareOfBit[bit];
    if (st.squareDistance[s][st.position.blackKingSquare] <= 2 || s <= 38) return 0;
    bool blocked = false;
    switch (st.fileOf[s]) {
    case 1: blocked = b[s - 9] || b[s - 18]; break;
    case 2: blocked = b[s - 9]; break;
    case 7: blocked = b[s - 11]; break;
    case 8: blocked = b[s - 11] || b[s - 22]; break;
    default: break;
    }
    return blocked ? -30 : 0;
}

int blackQueenTerms(const EngineState& st, const std::uint8_t* b, int bit) {
    const int s = squareOfBit[bit];
    if (st.squareDistance[s][st.position.whiteKingSquare] <= 2) return -40;  // close to the engine's king
    if (s >= 81) return 0;
    bool blocked = false;
    switch (st.fileOf[s]) {
    case 1: blocked = b[s + 11] || b[s + 22]; break;
    case 2: blocked = b[s + 11]; break;
    case 7: blocked = b[s + 9]; break;
    case 8: blocked = b[s + 9] || b[s + 18]; break;
    default: break;
    }
    return blocked ? 30 : 0;
}

// Centralise the king in the ending; keep it sheltered at home in the middle game.
int whiteKingTerms(const NodeState& n, const EngineState& st, const std::uint8_t* b, int s) {
    if (n.blackPieceMaterial <= middleGamePieces) {
        const int v = st.pieceSquare[whiteKing][s];
        return n.blackPieceMaterial <= queenOnly ? 4 * v : v;
    }
    if (s >= 41) return -150;
    const int castling = st.position.whiteCastling;
    if (castling != 0)
        return (castling & kingSideRight) && b[37] != whitePawn && b[47] != whitePawn ? -20 : 0;
    int t = 0;
    const int home = s >= 31 ? s - 10 : s;
    const int file = st.fileOf[s];
    if (!(n.whitePawnSet & st.whiteFrontSpan[s])) t -= 40;
    else if (b[file + 30] != whitePawn && b[file + 40] != whitePawn) t -= 20;
    if (home >= 25) {
        if (b[37] != whitePawn && b[47] != whitePawn) t -= 20;
        if (b[s + 9] != whitePawn && b[s + 18] != whitePawn) t -= 10;
    } else {
        if (b[32] != whitePawn && b[42] != whitePawn) t -= 20;
        if (b[s + 11] != whitePawn && b[s + 22] != whitePawn) t -= 10;
    }
    return t;
}

int blackKingTerms(const NodeState& n, const EngineState& st, const std::uint8_t* b, int s) {
    if (n.whitePieceMaterial <= middleGamePieces) {
        const int v = st.pieceSquare[blackKing][s];
        return n.whitePieceMaterial <= queenOnly ? 4 * v : v;
    }
    if (s <= 78) return 150;
    const int castling = st.position.blackCastling;
    if (castling != 0)
        return (castling & kingSideRight) && b[87] != blackPawn && b[77] != blackPawn ? 20 : 0;
    int t = 0;
    const int home = s <= 88 ? s + 10 : s;
    const int file = st.fileOf[s];
    if (!(n.blackPawnSet & st.blackFrontSpan[s])) t += 40;
    else if (b[file + 80] != blackPawn && b[file + 70] != blackPawn) t += 20;
    if (home >= 95) {
        if (b[87] != blackPawn && b[77] != blackPawn) t += 20;
        if (b[s - 11] != blackPawn && b[s - 22] != blackPawn) t += 10;
    } else {
        if (b[82] != blackPawn && b[72] != blackPawn) t += 20;
        if (b[s - 9] != blackPawn && b[s - 18] != blackPawn) t += 10;
    }
    return t;
}

// How many of the side's unguarded minors an enemy slider sees: knights fear rooks and
// bishops, bishops only rooks (queens do not count). A line piece sees a square when the
// first occupied square on its line from there is its own.
[[gnu::always_inline]] inline int exposedMinors(const BoardSets& sets, std::uint64_t own, std::uint64_t guarded,
                                                std::uint64_t rooks, std::uint64_t bishops) {
    const std::uint64_t exposed = own & ~guarded;
    std::uint64_t knights = sets.knights & exposed;
    std::uint64_t ownBishops = rooks != 0 ? sets.bishops & exposed : 0;
    if ((knights | ownBishops) == 0) return 0;
    const std::uint64_t occupied = sets.white | sets.black;
    int count = 0;
    for (; knights != 0; knights &= knights - 1) count += seenBySliders(occupied, std::countr_zero(knights), rooks, bishops);
    for (; ownBishops != 0; ownBishops &= ownBishops - 1) count += seenBySliders(occupied, std::countr_zero(ownBishops), rooks, 0);
    return count;
}

// A bishop suffers from own pawns on its colour; two bishops make a pair.
int bishopColourTerms(const NodeState& n) {
    int t = 0;
    if (n.whiteBishopsOnDark) {
        t -= 4 * n.whitePawnsOnDark;
        if (n.whiteBishopsOnLight) t += 30 - 4 * n.whitePawnsOnLight;
    } else if (n.whiteBishopsOnLight) {
        t -= 4 * n.whitePawnsOnLight;
    }
    if (n.blackBishopsOnDark) {
        t += 4 * n.blackPawnsOnDark;
        if (n.blackBishopsOnLight) t -= 30 - 4 * n.blackPawnsOnLight;
    } else if (n.blackBishopsOnLight) {
        t += 4 * n.blackPawnsOnLight;
    }
    return t;
}

}  // namespace

void evaluate(NodeState& n, bool pawnsChanged, int depth, EngineState& st) {
    // Above this material every passed-pawn term depends on the pawns alone, so the
    // parent's value stands until a pawn changes.
    const bool middleGame = n.whitePieceMaterial > middleGamePieces && n.blackPieceMaterial > middleGamePieces;
    const std::uint8_t* b = st.position.squares;
    const BoardSets sets = readBoardSets(b);
    int runners = 0;

    // The pawn structure when a pawn changed; the passed pawns then, or at every node
    // once an ending makes them depend on more than the pawns.
    if (pawnsChanged || !middleGame) {
        PawnMemo& memo = pawnTerms(n, st, sets);
        if (pawnsChanged) n.pawnStructure = memo.structure;
        if (middleGame && memo.passersKnown) {
            n.passedPawns = memo.passers;
        } else {
            Walk w{n, st, b, st.ply & 1};
            forEachSquare(memo.whitePassers, [&](int s) { whitePasser(w, s); });
            forEachSquare(memo.blackPassers, [&](int s) { blackPasser(w, s); });
            n.passedPawns = w.passers;
            runners = w.bestWhiteRunner - w.bestBlackRunner;
            if (middleGame) {
                memo.passers = w.passers;
                memo.passersKnown = true;
            }
        }
    }

    int pieces = runners;
    // A centre pawn still at home behind a blocked square hampers development.
    if (b[34] == whitePawn && b[44] != emptySquare) pieces -= 20;
    if (b[35] == whitePawn && b[45] != emptySquare) pieces -= 20;
    if (b[84] == blackPawn && b[74] != emptySquare) pieces += 20;
    if (b[85] == blackPawn && b[75] != emptySquare) pieces += 20;
    // A knight's one placement term: standing in front of the c-pawn at home.
    if (b[43] == whiteKnight && b[33] == whitePawn && b[64] == blackPawn) pieces -= 20;
    if (b[73] == blackKnight && b[83] == blackPawn && b[54] == whitePawn) pieces += 20;
    const std::uint64_t whitePawns = n.whitePawnSet, blackPawns = n.blackPawnSet;
    const std::uint64_t occupied = sets.white | sets.black;
    forEachBit(sets.bishops & sets.white, [&](int bit) { pieces += whiteBishopTerms(st, b, sets.pawns, bit); });
    forEachBit(sets.bishops & sets.black, [&](int bit) { pieces += blackBishopTerms(st, b, sets.pawns, bit); });
    forEachBit(sets.rooks & sets.white, [&](int bit) { pieces += whiteRookTerms(st, occupied, whitePawns, blackPawns, bit); });
    forEachBit(sets.rooks & sets.black, [&](int bit) { pieces += blackRookTerms(st, occupied, blackPawns, whitePawns, bit); });
    forEachBit(sets.queens & sets.white, [&](int bit) { pieces += whiteQueenTerms(st, b, bit); });
    forEachBit(sets.queens & sets.black, [&](int bit) { pieces += blackQueenTerms(st, b, bit); });
    n.kingPlacement = whiteKingTerms(n, st, b, st.position.whiteKingSquare) +
                      blackKingTerms(n, st, b, st.position.blackKingSquare);
    const std::uint64_t whiteRooks = sets.rooks & sets.white, blackRooks = sets.rooks & sets.black;
    const std::uint64_t whiteBishops = sets.bishops & sets.white, blackBishops = sets.bishops & sets.black;
    if ((blackRooks | blackBishops) != 0)
        pieces -= 20 * exposedMinors(sets, sets.white, sets.whiteGuards, blackRooks, blackBishops);
    if ((whiteRooks | whiteBishops) != 0)
        pieces += 20 * exposedMinors(sets, sets.black, sets.blackGuards, whiteRooks, whiteBishops);
    n.pieceTerms = pieces + bishopColourTerms(n);
    if (depth >= 0) kingSafety(n, st, sets);
}
