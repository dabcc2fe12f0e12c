#pragma once
// The board vocabulary shared by every unit: square values, the 128-byte Position
// block, the packed Move word and the compact snapshot the search restores from.
//
// Squares form a 10 x 12 mailbox: a1 = 21, h1 = 28, a8 = 91, h8 = 98. The board is
// always stored from the engine's side: the engine's pieces are the odd codes
// ("White") and move towards higher square numbers.
#include <cstdint>

// Square values. Value & 3 gives the side (1 White, 2 Black, 3 frame), value / 4 the type.
constexpr std::uint8_t emptySquare = 0;
constexpr std::uint8_t whitePawn = 1, blackPawn = 2;
constexpr std::uint8_t whiteKnight = 5, blackKnight = 6;
constexpr std::uint8_t whiteBishop = 9, blackBishop = 10;
constexpr std::uint8_t whiteRook = 13, blackRook = 14;
constexpr std::uint8_t whiteQueen = 17, blackQueen = 18;
constexpr std::uint8_t whiteKing = 21, blackKing = 22;
constexpr std::uint8_t border = 23;    // every off-board square but 20 and 99
constexpr std::uint8_t scanEnd = 27;   // squares 20 and 99: the board walks stop here

constexpr bool isPawn(int code) { return code == whitePawn || code == blackPawn; }

// Castling-rights bits of whiteCastling / blackCastling.
constexpr std::uint8_t kingSideRight = 1;
constexpr std::uint8_t queenSideRight = 2;

struct Position {
    std::uint8_t squares[120];
    std::uint8_t whiteCastling;     // 120
    std::uint8_t blackCastling;     // 121
    std::uint8_t enPassantPawn;     // 122: the pawn that may be taken en passant, or 0
    std::uint8_t spare123;
    std::uint8_t whiteKingSquare;   // 124
    std::uint8_t blackKingSquare;   // 125
    std::uint8_t spare126;
    std::uint8_t spare127;
};
static_assert(sizeof(Position) == 128, "a Position is copied as one 128-byte block");

inline std::uint8_t* positionBytes(Position& p) { return reinterpret_cast<std::uint8_t*>(&p); }
inline const std::uint8_t* positionBytes(const Position& p) {
    return reinterpret_cast<const std::uint8_t*>(&p);
}

// 4 x blackCastling + whiteCastling: the castling byte of the game history and the loop.
inline int castlingByte(const Position& p) { return p.whiteCastling + 4 * p.blackCastling; }

// Squares 20..99 (the 64 playing squares with the frame between the ranks, which never
// changes: one block copies faster than eight ranks) and entries 120..127.
struct PositionSnapshot {
    std::uint8_t squares[80];
    std::uint8_t sideEntries[8];
};
static_assert(sizeof(PositionSnapshot) == 88);

// Move word: bits 0..7 from, 8..15 to, 16..23 kind, 24..31 promotion piece code.
using Move = std::uint32_t;

constexpr int kindQuiet = 10;
constexpr int kindCastling = 30;
constexpr int kindEnPassant = 40;
constexpr int kindCapture = 60;
constexpr int kindSentinel = 120;

constexpr Move nullMove = 0;
constexpr Move listSentinel = 0x00780000;

constexpr Move makeMoveWord(int from, int to, int kind, int promotion = 0) {
    return static_cast<Move>(from) | (static_cast<Move>(to) << 8) | (static_cast<Move>(kind) << 16) |
           (static_cast<Move>(promotion) << 24);
}
constexpr int moveFrom(Move m) { return static_cast<int>(m & 0xFF); }
constexpr int moveTo(Move m) { return static_cast<int>((m >> 8) & 0xFF); }
constexpr int moveKind(Move m) { return static_cast<int>((m >> 16) & 0xFF); }
constexpr int movePromotion(Move m) { return static_cast<int>(m >> 24); }
// Typed moves are matched on squares and promotion only.
constexpr bool sameSquaresAndPromotion(Move a, Move b) { return (a & 0xFF00FFFF) == (b & 0xFF00FFFF); }

// A move list: the sentinel at entry 0, moves above it, read backwards from the cursor;
// the search parks postponed captures at the top end. The set-up reader admits at most
// 16 pieces a side, and 16 pieces never have more than 16 x 27 moves, so 512 entries
// can hold any position's moves and parked captures without a test in the generators.
constexpr int moveListCapacity = 512;
struct MoveList {
    Move moves[moveListCapacity];
};
