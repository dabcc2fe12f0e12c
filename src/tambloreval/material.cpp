// Material counts: from scratch at the root, then one capture or promotion at a time.
#include "tambloreval/eval_rules.h"
#include "tambloreval/tambloreval.h"

using evalrules::materialValue;

namespace {

// A piece of the given code joins (+1) or leaves (-1) the board on the square.
inline void countPiece(NodeState& n, const EngineState& st, int code, int square, int sign) {
    const bool white = code & 1;
    const int value = sign * materialValue[code];
    const int balance = white ? sign : -sign;
    (white ? n.whiteMaterial : n.blackMaterial) += value;
    switch (code) {
    case whitePawn:
    case blackPawn:
        (white ? n.whitePawnMaterial : n.blackPawnMaterial) += value;
        return;
    case whiteKnight:
    case blackKnight:
        n.minorBalance += balance;
        break;
    case whiteBishop:
    case blackBishop: {
        n.minorBalance += balance;
        const bool dark = st.isDarkSquare[square];
        std::uint8_t& count = white ? (dark ? n.whiteBishopsOnDark : n.whiteBishopsOnLight)
                                    : (dark ? n.blackBishopsOnDark : n.blackBishopsOnLight);
        count = static_cast<std::uint8_t>(count + sign);
        break;
    }
    case whiteRook:
    case blackRook:
        n.rookBalance += balance;
        break;
    case whiteQueen:
    case blackQueen:
        (white ? n.whiteQueenCount : n.blackQueenCount) += sign;
        break;
    default:
        return;  // kings and empty squares count nothing
    }
    (white ? n.whitePieceMaterial : n.blackPieceMaterial) += value;
}

}  // namespace

void initMaterial(NodeState& n, const EngineState& st) {
    n.whiteMaterial = n.blackMaterial = 0;
    n.whitePawnMaterial = n.blackPawnMaterial = 0;
    n.whitePieceMaterial = n.blackPieceMaterial = 0;
    n.minorBalance = n.rookBalance = 0;
    n.whiteQueenCount = n.blackQueenCount = 0;
    n.whiteBishopsOnDark = n.whiteBishopsOnLight = 0;
    n.blackBishopsOnDark = n.blackBishopsOnLight = 0;
    const std::uint8_t* b = st.position.squares;
    for (int s = 21; s <= 98; ++s) {
        const int v = b[s];
        if (v != emptySquare && v < whiteKing) countPiece(n, st, v, s, +1);
    }
}

void updateMaterial(NodeState& n, const EngineState& st, Move move, int captured) {
    const int to = moveTo(move);
    // An en-passant victim is a pawn, which has no square colour to track.
    if (captured != emptySquare && captured < whiteKing) countPiece(n, st, captured, to, -1);
    const int promotion = movePromotion(move);
    if (promotion != 0) {
        countPiece(n, st, promotion & 1 ? whitePawn : blackPawn, to, -1);
        countPiece(n, st, promotion, to, +1);
    }
}
