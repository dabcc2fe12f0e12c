// The four pseudo-legal move generators. Each writes the list sentinel first, then walks
// the board once from h8 (98) downwards, dispatching on the value of each square that
// holds one of the mover's pieces (taken from a set of its men); the frame stops every ray and
// step. Castling is listed on rights and empty squares alone: the search tests its path.
// The capture generator skips the pieces with no enemy man in reach, reads the first man
// along each ray from the sets of men, and keeps beside each capture its ordering key
// (see captureKeyOffset).
#include <bit>

#include "tamblorbasis/reach_masks.h"
#include "tamblorbasis/side_masks.h"
#include "tamblorbasis/tamblorbasis.h"

namespace {

constexpr Move captureBits = static_cast<Move>(kindCapture) << 16;
constexpr Move quietBits = static_cast<Move>(kindQuiet) << 16;

inline Move word(int from, int to, Move kindBits) {
    return static_cast<Move>(from) | (static_cast<Move>(to) << 8) | kindBits;
}

// Enemy pieces have these low two bits; the frame (3) never matches.
template <bool White>
constexpr int enemyBits = White ? 2 : 1;

// A capture and its ordering key: the victim's value and the promotion's, then the
// cheaper attacker (see captureKeyOffset).
inline void putCapture(int s, int t, int victim, int attacker, Move*& out, int promotion = 0) {
    out[captureKeyOffset] = static_cast<Move>(64 * (victim + promotion) - attacker);
    *out++ = word(s, t, captureBits) | (static_cast<Move>(promotion) << 24);
}

// A knight's and a king's steps, in the order their moves are listed.
constexpr int knightSteps[8] = {8, 19, 21, 12, -8, -19, -21, -12};
constexpr int kingSteps[8] = {9, 10, 11, 1, -9, -10, -11, -1};

template <bool White>
[[gnu::always_inline]] inline void captureSteps(const std::uint8_t* b, int s, const int (&steps)[8], int attacker,
                                                Move*& out) {
    for (const int d : steps) {
        const int victim = b[s + d];
        if ((victim & 3) == enemyBits<White>) putCapture(s, s + d, victim, attacker, out);
    }
}

[[gnu::always_inline]] inline void quietSteps(const std::uint8_t* b, int s, const int (&steps)[8], Move*& out) {
    for (const int d : steps)
        if (b[s + d] == emptySquare) *out++ = word(s, s + d, quietBits);
}

// Each step adds d to the to-square byte of the word: one add instead of a rebuild.
inline void quietRay(const std::uint8_t* b, int s, int d, Move*& out) {
    Move w = word(s, s, quietBits);
    const Move stepBits = static_cast<Move>(d) << 8;
    for (int t = s + d; b[t] == emptySquare; t += d) *out++ = (w += stepBits);
}

[[gnu::always_inline]] inline void quietDiagonals(const std::uint8_t* b, int s, Move*& out) {
    quietRay(b, s, 9, out);
    quietRay(b, s, 11, out);
    quietRay(b, s, -9, out);
    quietRay(b, s, -11, out);
}

[[gnu::always_inline]] inline void quietStraights(const std::uint8_t* b, int s, Move*& out) {
    quietRay(b, s, 10, out);
    quietRay(b, s, 1, out);
    quietRay(b, s, -1, out);
    quietRay(b, s, -10, out);
}

// Whether the squares after from along d are empty up to and including to (d = 0: no line).
inline bool isOpenLine(const std::uint8_t* b, int from, int to, int d) {
    if (d == 0) return false;
    int t = from + d;
    while (b[t] == emptySquare && t != to) t += d;
    return t == to;
}

// Queen, rook, bishop, knight: a consumer reading backwards meets the knight first.
template <bool White>
inline void promotions(int s, int t, Move kindBits, Move*& out) {
    const Move base = word(s, t, kindBits);
    const Move own = White ? 0 : 1;
    *out++ = base | ((whiteQueen + own) << 24);
    *out++ = base | ((whiteRook + own) << 24);
    *out++ = base | ((whiteBishop + own) << 24);
    *out++ = base | ((whiteKnight + own) << 24);
}

// The generators walk the mover's men from h8 down to a1: the highest bit first, taken
// out of the set (63 ^ clz compiles to one bsr).
[[gnu::always_inline]] inline int takeHighestBit(std::uint64_t& set) {
    const int i = 63 ^ std::countl_zero(set);
    set &= ~(std::uint64_t{1} << i);
    return i;
}

// For a piece of steps: true when the steps need no walk, because no enemy man stands in
// its reach, or just one does (its capture is then written here).
inline bool onlyTarget(const reach::MaskTable& table, int bitIndex, std::uint64_t enemy, const std::uint8_t* b,
                       int s, int attacker, Move*& out) {
    const std::uint64_t hits = table[bitIndex] & enemy;
    if (hits == 0) return true;
    if ((hits & (hits - 1)) != 0) return false;
    const int t = squareOfBit[std::countr_zero(hits)];
    putCapture(s, t, b[t], attacker, out);
    return true;
}

// Promotions in the order of promotions().
template <bool White>
inline void pawnCapture(const std::uint8_t* b, int s, int t, Move*& out) {
    constexpr int pawn = White ? whitePawn : blackPawn, own = White ? 0 : 1;
    const int victim = b[t];
    if ((victim & 3) != enemyBits<White>) return;
    if (White ? t >= 91 : t <= 28) {
        putCapture(s, t, victim, pawn, out, whiteQueen + own);
        putCapture(s, t, victim, pawn, out, whiteRook + own);
        putCapture(s, t, victim, pawn, out, whiteBishop + own);
        putCapture(s, t, victim, pawn, out, whiteKnight + own);
    } else {
        putCapture(s, t, victim, pawn, out);
    }
}

// The mover's men and the enemy men as sets. Pawns are left out at once unless an enemy
// man stands diagonally ahead of them.
template <bool White>
struct CaptureScan {
    std::uint64_t own;
    std::uint64_t enemy;
    std::uint64_t occupied;
    explicit CaptureScan(const std::uint8_t* b) {
        constexpr std::uint64_t aFile = 0x0101010101010101ull, hFile = aFile << 7;
        const SideMasks m = readSideMasks<White>(b);
        enemy = m.enemy;
        occupied = m.own | m.enemy;
        const std::uint64_t strikers = White ? ((enemy >> 7) & ~aFile) | ((enemy >> 9) & ~hFile)
                                             : ((enemy << 7) & ~hFile) | ((enemy << 9) & ~aFile);
        own = (m.own & ~m.ownPawns) | (m.ownPawns & strikers);
    }
    bool reaches(const reach::MaskTable& table, int bitIndex) const { return (table[bitIndex] & enemy) != 0; }
};

// Inlined into each caller: the search calls it at every node, and a call kept the
// White copy out of line with its register saves.
template <bool White>
[[gnu::always_inline]] inline void generateCaptures(Move*& cursor, const EngineState& state) {
    constexpr int pawn = White ? whitePawn : blackPawn;
    constexpr int knight = White ? whiteKnight : blackKnight;
    constexpr int bishop = White ? whiteBishop : blackBishop;
    constexpr int rook = White ? whiteRook : blackRook;
    constexpr int queen = White ? whiteQueen : blackQueen;
    constexpr int king = White ? whiteKing : blackKing;
    constexpr int forward = White ? 10 : -10;

    const std::uint8_t* b = state.position.squares;
    Move* out = cursor;
    *out++ = listSentinel;

    const int e = state.position.enPassantPawn;
    if (e != 0) {
        constexpr Move epBits = static_cast<Move>(kindEnPassant) << 16;
        if (b[e - 1] == pawn) {
            out[captureKeyOffset] = enPassantKey;
            *out++ = word(e - 1, e + forward, epBits);
        }
        if (b[e + 1] == pawn) {
            out[captureKeyOffset] = enPassantKey;
            *out++ = word(e + 1, e + forward, epBits);
        }
    }

    const CaptureScan<White> scan(b);
    // The first man along a ray is read from the sets instead of walked to: the lowest man
    // of the ray for a step that raises the square, the highest for one that lowers it.
    const auto ray = [&](int s, int bitIndex, int lineIndex, bool rising, int attacker) {
        const std::uint64_t men = reach::line[lineIndex][bitIndex] & scan.occupied;
        if (men == 0) return;
        const int first = rising ? std::countr_zero(men) : 63 ^ std::countl_zero(men);
        if ((scan.enemy >> first) & 1) {
            const int t = squareOfBit[first];
            putCapture(s, t, b[t], attacker, out);
        }
    };
    const auto straightRays = [&](int s, int i, int attacker) [[gnu::always_inline]] {
        ray(s, i, 0, true, attacker);    // 10
        ray(s, i, 1, true, attacker);    // 1
        ray(s, i, 2, false, attacker);   // -1
        ray(s, i, 3, false, attacker);   // -10
    };
    const auto diagonalRays = [&](int s, int i, int attacker) [[gnu::always_inline]] {
        ray(s, i, 4, true, attacker);    // 9
        ray(s, i, 5, true, attacker);    // 11
        ray(s, i, 6, false, attacker);   // -9
        ray(s, i, 7, false, attacker);   // -11
    };
    for (std::uint64_t own = scan.own; own != 0;) {
        const int i = takeHighestBit(own);
        const int s = squareOfBit[i];
        switch (b[s]) {
        case pawn:
            if (White) {
                pawnCapture<White>(b, s, s + 9, out);
                pawnCapture<White>(b, s, s + 11, out);
            } else {
                pawnCapture<White>(b, s, s - 9, out);
                pawnCapture<White>(b, s, s - 11, out);
            }
            break;
        case knight:
            if (onlyTarget(reach::knight, i, scan.enemy, b, s, knight, out)) break;
            captureSteps<White>(b, s, knightSteps, knight, out);
            break;
        case bishop:
            if (scan.reaches(reach::diagonal, i)) diagonalRays(s, i, bishop);
            break;
        case rook:
            if (scan.reaches(reach::straight, i)) straightRays(s, i, rook);
            break;
        case queen:
            if (scan.reaches(reach::straight, i)) straightRays(s, i, queen);
            if (scan.reaches(reach::diagonal, i)) diagonalRays(s, i, queen);
            break;
        case king:
            if (onlyTarget(reach::king, i, scan.enemy, b, s, king, out)) break;
            captureSteps<White>(b, s, kingSteps, king, out);
            break;
        default:
            break;
        }
    }
    cursor = out;
}

template <bool White>
void generateQuietMoves(Move*& cursor, const EngineState& state) {
    constexpr int pawn = White ? whitePawn : blackPawn;
    constexpr int knight = White ? whiteKnight : blackKnight;
    constexpr int bishop = White ? whiteBishop : blackBishop;
    constexpr int rook = White ? whiteRook : blackRook;
    constexpr int queen = White ? whiteQueen : blackQueen;
    constexpr int king = White ? whiteKing : blackKing;
    constexpr int home = White ? 0 : 70;  // rank offset of the side's back rank

    const std::uint8_t* b = state.position.squares;
    Move* out = cursor;
    *out++ = listSentinel;

    const int rights = White ? state.position.whiteCastling : state.position.blackCastling;
    if (rights != 0) {
        constexpr Move castleBits = static_cast<Move>(kindCastling) << 16;
        if ((rights & kingSideRight) && b[home + 26] == emptySquare && b[home + 27] == emptySquare)
            *out++ = word(home + 25, home + 27, castleBits);
        if ((rights & queenSideRight) && b[home + 22] == emptySquare &&
            b[home + 23] == emptySquare && b[home + 24] == emptySquare)
            *out++ = word(home + 25, home + 23, castleBits);
    }

    for (std::uint64_t own = readSideMasks<White>(b).own; own != 0;) {
        const int s = squareOfBit[takeHighestBit(own)];
        switch (b[s]) {
        case pawn:
            if (White) {
                if (b[s + 10] == emptySquare) {
                    if (s + 10 >= 91) {
                        promotions<White>(s, s + 10, quietBits, out);
                    } else {
                        *out++ = word(s, s + 10, quietBits);
                        if (s <= 38 && b[s + 20] == emptySquare) *out++ = word(s, s + 20, quietBits);
                    }
                }
            } else {
                if (b[s - 10] == emptySquare) {
                    if (s - 10 <= 28) {
                        promotions<White>(s, s - 10, quietBits, out);
                    } else {
                        *out++ = word(s, s - 10, quietBits);
                        if (s >= 81 && b[s - 20] == emptySquare) *out++ = word(s, s - 20, quietBits);
                    }
                }
            }
            break;
        case knight:
            quietSteps(b, s, knightSteps, out);
            break;
        case bishop:
            quietDiagonals(b, s, out);
            break;
        case rook:
            quietStraights(b, s, out);
            break;
        case queen:
            quietDiagonals(b, s, out);
            quietStraights(b, s, out);
            break;
        case king:
            quietSteps(b, s, kingSteps, out);
            break;
        default:
            break;
        }
    }
    cursor = out;
}

// Whether the walk of generateQuietMoves would write this word: the same tests, asked of
// one move.
template <bool White>
bool isListedQuiet(const EngineState& state, Move move) {
    const std::uint8_t* b = state.position.squares;
    const int from = moveFrom(move), to = moveTo(move), promotion = movePromotion(move);
    if (moveKind(move) != kindQuiet || from >= 120 || to >= 120) return false;
    if (b[to] != emptySquare) return false;  // also keeps to on the board
    const int d = to - from;
    switch (b[from]) {
    case White ? whitePawn : blackPawn: {
        constexpr int forward = White ? 10 : -10;
        if (d == forward) {
            if (White ? to < 91 : to > 28) return promotion == 0;
            const int own = White ? 0 : 1;
            return promotion == whiteQueen + own || promotion == whiteRook + own ||
                   promotion == whiteBishop + own || promotion == whiteKnight + own;
        }
        return d == 2 * forward && promotion == 0 && (White ? from <= 38 : from >= 81) &&
               b[from + forward] == emptySquare;
    }
    case White ? whiteKnight : blackKnight:
        return promotion == 0 && state.knightStep[from][to] == d;
    case White ? whiteKing : blackKing:
        return promotion == 0 && state.queenDirection[from][to] == d;
    case White ? whiteBishop : blackBishop:
        return promotion == 0 && isOpenLine(b, from, to, state.bishopDirection[from][to]);
    case White ? whiteRook : blackRook:
        return promotion == 0 && isOpenLine(b, from, to, state.rookDirection[from][to]);
    case White ? whiteQueen : blackQueen:
        return promotion == 0 && isOpenLine(b, from, to, state.queenDirection[from][to]);
    default:
        return false;
    }
}

}  // namespace

void generateWhiteCaptures(Move*& cursor, const EngineState& state) {
    generateCaptures<true>(cursor, state);
}
void generateBlackCaptures(Move*& cursor, const EngineState& state) {
    generateCaptures<false>(cursor, state);
}
void generateWhiteQuietMoves(Move*& cursor, const EngineState& state) {
    generateQuietMoves<true>(cursor, state);
}
void generateBlackQuietMoves(Move*& cursor, const EngineState& state) {
    generateQuietMoves<false>(cursor, state);
}

bool isQuietMoveListed(const EngineState& state, Move move, bool moverIsWhite) {
    return moverIsWhite ? isListedQuiet<true>(state, move) : isListedQuiet<false>(state, move);
}
