// Attack questions about the current board: is a square attacked, may a castling move
// be played, did the move just made leave the mover's king attacked, does it give check.
// Every ray walk ends at the frame, so none of them tests bounds.
#include "tamblorbasis/tamblorbasis.h"

namespace {

// First non-empty square from s along step d (s itself excluded).
inline int firstOccupied(const std::uint8_t* b, int s, int d) {
    s += d;
    while (b[s] == emptySquare) s += d;
    return s;
}

// The sliders that move along step d (-11..11), as a set of square values: rooks and
// queens along ranks and files, bishops and queens along diagonals, both colours.
struct SliderSets {
    std::uint32_t byStep[23] = {};
    constexpr SliderSets() {
        for (int d : {1, 10}) {
            byStep[11 + d] = byStep[11 - d] = (1u << whiteRook) | (1u << blackRook) | (1u << whiteQueen) | (1u << blackQueen);
        }
        for (int d : {9, 11}) {
            byStep[11 + d] = byStep[11 - d] =
                (1u << whiteBishop) | (1u << blackBishop) | (1u << whiteQueen) | (1u << blackQueen);
        }
    }
};
constexpr SliderSets sliderSets;
// The values of one side: White's are odd, Black's even (the frame and empty squares are
// never sliders, so they need no exclusion here).
constexpr std::uint32_t whiteValues = 0xAAAAAAAAu, blackValues = 0x55555555u;

// Does the slider standing on this value move along step d?
inline bool slidesAlong(int value, int d, bool white) {
    return ((sliderSets.byStep[11 + d] & (white ? whiteValues : blackValues)) >> value) & 1;
}

}  // namespace

namespace {

// A square value as a slider of one side: straight (rook, queen), diagonal (bishop, queen).
// A byte looked up and tested: cheaper than a variable shift of a set of values.
constexpr std::uint8_t straightKind = 1, diagonalKind = 2;
template <bool White>
struct SliderKinds {
    std::uint8_t of[32] = {};
    constexpr SliderKinds() {
        of[White ? whiteRook : blackRook] = straightKind;
        of[White ? whiteBishop : blackBishop] = diagonalKind;
        of[White ? whiteQueen : blackQueen] = straightKind | diagonalKind;
    }
};
template <bool White>
constexpr SliderKinds<White> sliderKinds;

// Pawns and the king by their squares, knights by theirs, then the first piece along each
// line from s: a slider of the line's kind. The likelier attackers are asked first: pawns
// (the search asks most often whether a pawn is defended), and the steps and lines on
// the attacker's side of s before those on the other.
template <bool ByWhite>
[[gnu::always_inline]] inline bool attackedByInline(const EngineState& state, int s) {
    constexpr int pawn = ByWhite ? whitePawn : blackPawn;
    constexpr int knight = ByWhite ? whiteKnight : blackKnight;
    constexpr int pawnLeft = ByWhite ? -9 : 9, pawnRight = ByWhite ? -11 : 11;

    const std::uint8_t* b = state.position.squares;
    const int king = ByWhite ? state.position.whiteKingSquare : state.position.blackKingSquare;
    if (b[s + pawnLeft] == pawn || b[s + pawnRight] == pawn) return true;
    if (state.squareDistance[s][king] <= 1) return true;
    constexpr int k = ByWhite ? -1 : 1;  // the attacker's side of s first
    if (b[s + 8 * k] == knight || b[s + 19 * k] == knight || b[s + 21 * k] == knight || b[s + 12 * k] == knight ||
        b[s - 8 * k] == knight || b[s - 19 * k] == knight || b[s - 21 * k] == knight || b[s - 12 * k] == knight)
        return true;
    const auto line = [b, s](int d, std::uint8_t kind) {
        int t = s + d;
        while (b[t] == emptySquare) t += d;
        return (sliderKinds<ByWhite>.of[b[t]] & kind) != 0;
    };
    constexpr int back = ByWhite ? -10 : 10;
    return line(back, straightKind) || line(back + 1, diagonalKind) || line(back - 1, diagonalKind) ||
           line(1, straightKind) || line(-1, straightKind) || line(-back, straightKind) ||
           line(1 - back, diagonalKind) || line(-1 - back, diagonalKind);
}

// The same, left to the compiler to inline or not; the legality test after a king move or
// in check always has its own copy (attackedByInline).
template <bool ByWhite>
inline bool attackedBy(const EngineState& state, int s) {
    return attackedByInline<ByWhite>(state, s);
}

}  // namespace

bool isSquareAttacked(const EngineState& state, int s, bool byWhite) {
    return byWhite ? attackedBy<true>(state, s) : attackedBy<false>(state, s);
}

// The king's square, the square it crosses and its destination must all be safe. The
// square beside the queen-side rook may be attacked. Only castling words are passed;
// anything else is answered unsafe so that it is never played.
bool isCastlingPathSafe(const EngineState& state, Move castling) {
    switch (moveTo(castling)) {
    case 23:
        return !isSquareAttacked(state, 25, false) && !isSquareAttacked(state, 24, false) &&
               !isSquareAttacked(state, 23, false);
    case 27:
        return !isSquareAttacked(state, 25, false) && !isSquareAttacked(state, 26, false) &&
               !isSquareAttacked(state, 27, false);
    case 93:
        return !isSquareAttacked(state, 95, true) && !isSquareAttacked(state, 94, true) &&
               !isSquareAttacked(state, 93, true);
    case 97:
        return !isSquareAttacked(state, 95, true) && !isSquareAttacked(state, 96, true) &&
               !isSquareAttacked(state, 97, true);
    default:
        return false;
    }
}

// Called after makeMove. A full attack test only when the king moved, the mover stood
// in check, or the move took en passant (the taken pawn's square may open a diagonal or the
// rank to the king); otherwise only a pin through the from-square can hurt.
bool isLegalAfterMove(const EngineState& state, Move move, bool moverIsBlack) {
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;
    const int k = moverIsBlack ? p.blackKingSquare : p.whiteKingSquare;
    const int to = moveTo(move);
    if (k == to || state.plyInfo[state.ply].inCheck > 0 || moveKind(move) == kindEnPassant)
        return moverIsBlack ? !attackedByInline<true>(state, k) : !attackedByInline<false>(state, k);

    const int from = moveFrom(move);
    const int d = state.queenDirection[from][k];
    if (d == 0) return true;
    // The far side first: an enemy slider there is rarer than an open line to the king.
    if (!slidesAlong(b[firstOccupied(b, from, -d)], d, moverIsBlack)) return true;
    return firstOccupied(b, from, d) != k;
}

// Called after makeMove: does the move give check? Writes inCheck of the next ply's
// entry. Ordinary moves look only at the line from the to-square (direct check) and
// the line through the from-square (discovered check); castling and en passant, which
// move a second piece, take the full test.
void updateCheckFlag(EngineState& state, Move move, bool moverIsBlack) {
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;
    std::int32_t& inCheck = state.plyInfo[state.ply + 1].inCheck;
    const int kind = moveKind(move);
    if (kind == 0) {
        inCheck = 0;
        return;
    }
    const int k = moverIsBlack ? p.whiteKingSquare : p.blackKingSquare;
    if (kind == kindCastling || kind == kindEnPassant) {
        inCheck = isSquareAttacked(state, k, !moverIsBlack) ? 1 : 0;
        return;
    }

    const int from = moveFrom(move);
    const int to = moveTo(move);
    int d;
    switch (b[to]) {
    case blackPawn:
        if (to - 9 == k || to - 11 == k) { inCheck = 1; return; }
        break;
    case whitePawn:
        if (to + 9 == k || to + 11 == k) { inCheck = 1; return; }
        break;
    case whiteKnight: case blackKnight:
        if (state.knightStep[k][to] == to - k) { inCheck = 1; return; }
        break;
    case whiteBishop: case blackBishop:
        d = state.bishopDirection[to][k];
        if (d != 0 && firstOccupied(b, to, d) == k) { inCheck = 1; return; }
        break;
    case whiteRook: case blackRook:
        d = state.rookDirection[to][k];
        if (d != 0 && firstOccupied(b, to, d) == k) { inCheck = 1; return; }
        break;
    case whiteQueen: case blackQueen:
        d = state.queenDirection[to][k];
        if (d != 0 && firstOccupied(b, to, d) == k) { inCheck = 1; return; }
        break;
    case whiteKing: case blackKing:
        if (state.squareDistance[k][to] <= 1) { inCheck = 1; return; }
        break;
    default:
        break;
    }

    d = state.queenDirection[from][k];
    inCheck = (d != 0 && slidesAlong(b[firstOccupied(b, k, -d)], d, !moverIsBlack)) ? 1 : 0;
}

// Counts the safe squares around the king of the side to move (White at odd plies).
// The king stays where it is, so it still shields the squares behind it.
bool kingHasFewFlights(const EngineState& state, int n) {
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;
    const bool white = (state.ply & 1) != 0;
    const int k = white ? p.whiteKingSquare : p.blackKingSquare;
    int count = 0;
    for (int i = 0; i < 8; ++i) {
        const int s = k + state.kingOffsets[i];
        const int v = b[s];
        const bool open = white ? (v & 1) == 0 : (v & 2) == 0;
        if (open && !isSquareAttacked(state, s, !white)) {
            if (++count > n) return false;
        }
    }
    return true;
}
