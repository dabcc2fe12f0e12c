// Position keys: the XOR of one random pair per piece and square. Side to move,
// castling and en passant stay outside the key and travel in castleEpState.
#include "tamblorhash/tamblorhash.h"

#include "tamblorhash/position_key.h"

namespace {

inline const PositionKeyPair& pieceKey(const EngineState& state, int code, int square) {
    return state.positionKeys[code >> 1][state.squareIndex[square]];
}

inline void toggle(NodeState& node, const PositionKeyPair& key) {
    node.keyLow ^= key.low;
    node.keyHigh ^= key.high;
}

}  // namespace

int castleEpState(const Position& position, const EngineState& state) {
    const int castling = position.whiteCastling + 4 * position.blackCastling;
    if (position.enPassantPawn != 0) return 16 * state.fileOf[position.enPassantPawn] + castling;
    return castling;
}

PositionKeyPair keyOfPosition(const Position& position, const EngineState& state) {
    PositionKeyPair sum{0, 0};
    for (int rank = 20; rank <= 90; rank += 10) {
        for (int square = rank + 1; square <= rank + 8; ++square) {
            const int code = position.squares[square];
            if (code == emptySquare) continue;
            const PositionKeyPair& key = pieceKey(state, code, square);
            sum.low ^= key.low;
            sum.high ^= key.high;
        }
    }
    return sum;
}

void computeKey(NodeState& node, const EngineState& state) {
    const PositionKeyPair key = keyOfPosition(state.position, state);
    node.keyLow = key.low;
    node.keyHigh = key.high;
    node.castleEpState = static_cast<std::uint8_t>(castleEpState(state.position, state));
}

void updateKey(NodeState& node, const EngineState& state, Move move, int captured) {
    const Position& position = state.position;
    const int from = moveFrom(move);
    const int to = moveTo(move);
    const int kind = moveKind(move);
    const int promotion = movePromotion(move);
    const int piece = position.squares[to];

    toggle(node, pieceKey(state, piece, to));
    if (promotion == 0)
        toggle(node, pieceKey(state, piece, from));
    else
        toggle(node, pieceKey(state, (promotion & 3) == 1 ? whitePawn : blackPawn, from));

    if (kind == kindCapture && captured != 0) {
        toggle(node, pieceKey(state, captured, to));
    } else if (kind == kindEnPassant) {
        // The pawn taken stands beside the from-square, behind the to-square.
        if (captured == whitePawn)
            toggle(node, pieceKey(state, whitePawn, to + 10));
        else
            toggle(node, pieceKey(state, blackPawn, to - 10));
    } else if (kind == kindCastling) {
        switch (to) {
            case 23: toggle(node, pieceKey(state, whiteRook, 21)); toggle(node, pieceKey(state, whiteRook, 24)); break;
            case 27: toggle(node, pieceKey(state, whiteRook, 28)); toggle(node, pieceKey(state, whiteRook, 26)); break;
            case 93: toggle(node, pieceKey(state, blackRook, 91)); toggle(node, pieceKey(state, blackRook, 94)); break;
            case 97: toggle(node, pieceKey(state, blackRook, 98)); toggle(node, pieceKey(state, blackRook, 96)); break;
            default: break;
        }
    }
    node.castleEpState = static_cast<std::uint8_t>(castleEpState(position, state));
}
