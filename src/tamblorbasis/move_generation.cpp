// The four pseudo-legal move generators. Each writes the list sentinel first, then walks
// the board once from h8 (98) downwards, dispatching on the value of each square that
// holds one of the mover's pieces (found a rank at a time); the frame stops every ray and
// step. Castling is listed on rights and empty squares alone: the search tests its path.
#include "tamblorbasis/rank_words.h"
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

template <bool White>
inline void captureStep(const std::uint8_t* b, int s, int t, Move*& out) {
    if ((b[t] & 3) == enemyBits<White>) *out++ = word(s, t, captureBits);
}

template <bool White>
inline void captureRay(const std::uint8_t* b, int s, int d, Move*& out) {
    int t = s + d;
    while (b[t] == emptySquare) t += d;
    if ((b[t] & 3) == enemyBits<White>) *out++ = word(s, t, captureBits);
}

inline void quietStep(const std::uint8_t* b, int s, int t, Move*& out) {
    if (b[t] == emptySquare) *out++ = word(s, t, quietBits);
}

inline void quietRay(const std::uint8_t* b, int s, int d, Move*& out) {
    for (int t = s + d; b[t] == emptySquare; t += d) *out++ = word(s, t, quietBits);
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

// Calls visit(s) for every square holding one of the mover's pieces, from h8 down to a1.
template <bool White, typename Visit>
inline void forOwnPiecesDownwards(const std::uint8_t* b, Visit visit) {
    for (int rank = 7; rank >= 0; --rank) {
        const std::uint64_t word = rankWord(b, rank);
        std::uint64_t own = White ? whitePieceFlags(word) : blackPieceFlags(word);
        while (own != 0) {
            const int flag = highestFlag(own);
            own ^= std::uint64_t{1} << flag;
            visit(21 + 10 * rank + flag / 8);
        }
    }
}

template <bool White>
inline void pawnCapture(const std::uint8_t* b, int s, int t, Move*& out) {
    if ((b[t] & 3) != enemyBits<White>) return;
    if (White ? t >= 91 : t <= 28)
        promotions<White>(s, t, captureBits, out);
    else
        *out++ = word(s, t, captureBits);
}

template <bool White>
void generateCaptures(Move*& cursor, const EngineState& state) {
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
        if (b[e - 1] == pawn) *out++ = word(e - 1, e + forward, epBits);
        if (b[e + 1] == pawn) *out++ = word(e + 1, e + forward, epBits);
    }

    forOwnPiecesDownwards<White>(b, [&](int s) {
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
            captureStep<White>(b, s, s + 8, out);
            captureStep<White>(b, s, s + 19, out);
            captureStep<White>(b, s, s + 21, out);
            captureStep<White>(b, s, s + 12, out);
            captureStep<White>(b, s, s - 8, out);
            captureStep<White>(b, s, s - 19, out);
            captureStep<White>(b, s, s - 21, out);
            captureStep<White>(b, s, s - 12, out);
            break;
        case bishop:
            captureRay<White>(b, s, 9, out);
            captureRay<White>(b, s, 11, out);
            captureRay<White>(b, s, -9, out);
            captureRay<White>(b, s, -11, out);
            break;
        case rook:
            captureRay<White>(b, s, 10, out);
            captureRay<White>(b, s, 1, out);
            captureRay<White>(b, s, -1, out);
            captureRay<White>(b, s, -10, out);
            break;
        case queen:
            captureRay<White>(b, s, 10, out);
            captureRay<White>(b, s, 1, out);
            captureRay<White>(b, s, -1, out);
            captureRay<White>(b, s, -10, out);
            captureRay<White>(b, s, 9, out);
            captureRay<White>(b, s, 11, out);
            captureRay<White>(b, s, -9, out);
            captureRay<White>(b, s, -11, out);
            break;
        case king:
            captureStep<White>(b, s, s + 9, out);
            captureStep<White>(b, s, s + 10, out);
            captureStep<White>(b, s, s + 11, out);
            captureStep<White>(b, s, s + 1, out);
            captureStep<White>(b, s, s - 9, out);
            captureStep<White>(b, s, s - 10, out);
            captureStep<White>(b, s, s - 11, out);
            captureStep<White>(b, s, s - 1, out);
            break;
        default:
            break;
        }
    });
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

    forOwnPiecesDownwards<White>(b, [&](int s) {
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
            quietStep(b, s, s + 8, out);
            quietStep(b, s, s + 19, out);
            quietStep(b, s, s + 21, out);
            quietStep(b, s, s + 12, out);
            quietStep(b, s, s - 8, out);
            quietStep(b, s, s - 19, out);
            quietStep(b, s, s - 21, out);
            quietStep(b, s, s - 12, out);
            break;
        case bishop:
            quietRay(b, s, 9, out);
            quietRay(b, s, 11, out);
            quietRay(b, s, -9, out);
            quietRay(b, s, -11, out);
            break;
        case rook:
            quietRay(b, s, 10, out);
            quietRay(b, s, 1, out);
            quietRay(b, s, -1, out);
            quietRay(b, s, -10, out);
            break;
        case queen:
            quietRay(b, s, 9, out);
            quietRay(b, s, 11, out);
            quietRay(b, s, -9, out);
            quietRay(b, s, -11, out);
            quietRay(b, s, 10, out);
            quietRay(b, s, 1, out);
            quietRay(b, s, -1, out);
            quietRay(b, s, -10, out);
            break;
        case king:
            quietStep(b, s, s + 9, out);
            quietStep(b, s, s + 10, out);
            quietStep(b, s, s + 11, out);
            quietStep(b, s, s + 1, out);
            quietStep(b, s, s - 9, out);
            quietStep(b, s, s - 10, out);
            quietStep(b, s, s - 11, out);
            quietStep(b, s, s - 1, out);
            break;
        default:
            break;
        }
    });
    cursor = out;
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
