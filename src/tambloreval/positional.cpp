// The piece-square sum: from scratch at the root, one move's change below it.
#include "tambloreval/tambloreval.h"

int sumPositional(const EngineState& st) {
    const std::uint8_t* b = st.position.squares;
    int sum = 0;
    for (int s = 21; s <= 98; ++s) {
        const int v = b[s];
        if (v >= whitePawn && v <= blackQueen) sum += st.pieceSquare[v][s];
    }
    return sum;
}

namespace {

// The mover's change; a promoted piece is weighed against the pawn it was.
inline int moverDelta(const EngineState& st, int piece, int from, int to, Move move) {
    if (piece > blackQueen) return 0;  // kings are not in the sum
    const int before = movePromotion(move) != 0 ? (piece & 1 ? whitePawn : blackPawn) : piece;
    return st.pieceSquare[piece][to] - st.pieceSquare[before][from];
}

}  // namespace

int positionalDelta(const EngineState& st, Move move, int captured) {
    if (move == nullMove) return 0;
    const auto& ps = st.pieceSquare;
    const int from = moveFrom(move), to = moveTo(move), kind = moveKind(move);
    const int piece = st.position.squares[to];
    // Quiet moves and captures first: nearly every move is one.
    if (kind == kindQuiet) return moverDelta(st, piece, from, to, move);
    if (kind == kindCapture) return moverDelta(st, piece, from, to, move) - ps[captured][to];
    if (kind == kindEnPassant)
        return ps[piece][to] - ps[piece][from] - (piece == whitePawn ? ps[blackPawn][to - 10] : ps[whitePawn][to + 10]);
    if (kind == kindCastling) {
        // The rook's move, and a bonus for having castled at all.
        switch (to) {
        case 23: return ps[whiteRook][24] - ps[whiteRook][21] + 5;
        case 27: return ps[whiteRook][26] - ps[whiteRook][28] + 30;
        case 93: return ps[blackRook][94] - ps[blackRook][91] - 5;
        case 97: return ps[blackRook][96] - ps[blackRook][98] - 30;
        default: return 0;
        }
    }
    return 0;
}
