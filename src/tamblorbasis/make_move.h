#pragma once
// Plays a generated move word on the board. There is no take-back: callers restore a
// snapshot or a whole Position copy taken before the move. Inline: the search makes a
// move at every node, and a call there cost more than the move itself.
#include "tamblorbasis/board.h"
#include "tamblorvars/tamblorvars.h"

inline int makeMove(EngineState& state, Move move) {
    Position& p = state.position;
    std::uint8_t* b = p.squares;
    p.enPassantPawn = 0;
    if (move == nullMove) return 0;

    const int from = moveFrom(move);
    const int to = moveTo(move);
    const int kind = moveKind(move);
    const int piece = b[from];
    int captured = kind == kindCapture ? b[to] : 0;

    // Knights, bishops and queens only move: no dispatch for them.
    constexpr std::uint32_t plainMovers = (1u << whiteKnight) | (1u << blackKnight) | (1u << whiteBishop) |
                                          (1u << blackBishop) | (1u << whiteQueen) | (1u << blackQueen);
    if ((plainMovers >> piece) & 1) {
        b[to] = static_cast<std::uint8_t>(piece);
    } else {
        switch (piece) {
        case whitePawn:
            if (move > 0x00FFFFFF) {
                b[to] = static_cast<std::uint8_t>(movePromotion(move));
            } else {
                b[to] = whitePawn;
                if (kind == kindEnPassant) {
                    captured = blackPawn;
                    b[to - 10] = emptySquare;
                } else if (to - from == 20 && (b[to - 1] == blackPawn || b[to + 1] == blackPawn)) {
                    p.enPassantPawn = static_cast<std::uint8_t>(to);
                }
            }
            break;
        case blackPawn:
            if (move > 0x00FFFFFF) {
                b[to] = static_cast<std::uint8_t>(movePromotion(move));
            } else {
                b[to] = blackPawn;
                if (kind == kindEnPassant) {
                    captured = whitePawn;
                    b[to + 10] = emptySquare;
                } else if (to - from == -20 && (b[to - 1] == whitePawn || b[to + 1] == whitePawn)) {
                    p.enPassantPawn = static_cast<std::uint8_t>(to);
                }
            }
            break;
        case whiteRook:
            b[to] = whiteRook;
            if (p.whiteCastling != 0) {
                if (from == 21) p.whiteCastling &= kingSideRight;
                else if (from == 28) p.whiteCastling &= queenSideRight;
            }
            break;
        case blackRook:
            b[to] = blackRook;
            if (p.blackCastling != 0) {
                if (from == 91) p.blackCastling &= kingSideRight;
                else if (from == 98) p.blackCastling &= queenSideRight;
            }
            break;
        case whiteKing:
            p.whiteKingSquare = static_cast<std::uint8_t>(to);
            b[to] = whiteKing;
            p.whiteCastling = 0;
            if (kind == kindCastling) {
                if (to == 23) {
                    b[21] = emptySquare;
                    b[24] = whiteRook;
                } else if (to == 27) {
                    b[28] = emptySquare;
                    b[26] = whiteRook;
                }
            }
            break;
        case blackKing:
            p.blackKingSquare = static_cast<std::uint8_t>(to);
            b[to] = blackKing;
            p.blackCastling = 0;
            if (kind == kindCastling) {
                if (to == 93) {
                    b[91] = emptySquare;
                    b[94] = blackRook;
                } else if (to == 97) {
                    b[98] = emptySquare;
                    b[96] = blackRook;
                }
            }
            break;
        case emptySquare:
            return 0;
        default:
            // A frame square as from-square: never generated; leave the frame intact.
            return 0;
        }
    }
    b[from] = emptySquare;

    // A rook taken on its home square takes its castling right with it. The two rook values
    // are adjacent: one compare sends every other capture past.
    static_assert(blackRook == whiteRook + 1);
    if (static_cast<unsigned>(captured - whiteRook) <= 1u) {
        if (captured == whiteRook) {
            if (to == 21) p.whiteCastling &= kingSideRight;
            else if (to == 28) p.whiteCastling &= queenSideRight;
        } else {
            if (to == 91) p.blackCastling &= kingSideRight;
            else if (to == 98) p.blackCastling &= queenSideRight;
        }
    }
    return captured;
}
