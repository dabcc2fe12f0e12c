#pragma once
// Board routines: move text and set-up, move making, attack and check tests,
// typed-move matching and the four move generators. All squares and colours are
// the stored ones (the engine's pieces are White).
#include <string_view>

#include "tamblorbasis/board.h"
#include "tamblorbasis/make_move.h"
#include "tamblorvars/tamblorvars.h"

// --- Squares and snapshots ---------------------------------------------------------
bool isOffBoard(int square);
void saveSnapshot(PositionSnapshot& snapshot, const EngineState& state);
void restoreSnapshot(const PositionSnapshot& snapshot, EngineState& state);

// --- Move text and set-up (white = the stored board is the game board) -----------
MoveText moveToText(Move move, bool white);          // "E2E4", "G7H8Q", "NULL"
// A capturing promotion reads e7xd8Q: one character more than a plain move text.
using ThinkingMoveText = BoundedText<6>;
ThinkingMoveText moveToThinkingText(Move move, bool white);  // "e4xd5", "e7e8Q"
int squareFromText(std::string_view text, bool white);  // stored square, or 0
Move textToMove(bool moverIsWhite, std::string_view text, bool white);  // kind 10, or 0
// Reads FEN/EPD placement, side, castling and en passant into position and sets
// enginePlaysWhite. False on failure (position may then be partly written).
bool parsePositionText(bool opponentToMove, std::string_view text, EngineState& state);
// The set-up checks the reader itself does not make: one king a side, no pawn on the
// first or last rank, at most 16 pieces a side, the side not to move not in check.
// whiteToMove: the stored White (the engine) is to move.
bool isPlayablePosition(const EngineState& state, bool whiteToMove);

// --- Making moves and attack tests ------------------------------------------------
// makeMove (make_move.h) plays the move on position; returns the value of the piece
// taken (0 if none).
bool isSquareAttacked(const EngineState& state, int square, bool byWhite);
bool isCastlingPathSafe(const EngineState& state, Move castling);
bool isLegalAfterMove(const EngineState& state, Move move, bool moverIsBlack);
void updateCheckFlag(EngineState& state, Move move, bool moverIsBlack);  // inCheck of ply + 1
bool kingHasFewFlights(const EngineState& state, int n);

// --- Move generation: cursor points at entry 0 on entry, one past the last word on return.
// The capture generators keep beside each capture, captureKeyOffset entries above it, its
// ordering key: 64 x (victim + promotion) - attacker, so the most valuable victim first,
// a promotion on top of it, then the cheapest attacker; en passant ranks like a pawn
// taking a pawn would, a little lower. A MoveList holds them: its at most 16 x 8 captures
// and two en passant stay below the keys, and the captures the search parks at the top
// end stay above them.
constexpr int captureKeyOffset = 192;
constexpr Move enPassantKey = 61;
static_assert(captureKeyOffset > 16 * 8 + 2 &&
              1 + captureKeyOffset + 16 * 8 + 2 <= moveListCapacity - (16 * 8 + 2));
void generateWhiteCaptures(Move*& cursor, const EngineState& state);
void generateBlackCaptures(Move*& cursor, const EngineState& state);
void generateWhiteQuietMoves(Move*& cursor, const EngineState& state);
void generateBlackQuietMoves(Move*& cursor, const EngineState& state);
// Whether the quiet generator of the mover would list this move now.
bool isQuietMoveListed(const EngineState& state, Move move, bool moverIsWhite);

// --- Legal moves of the game (full attack tests, position left as it was) -----------
// A generated move of the side that does not leave its own king attacked (castling:
// not out of, through or into check).
bool isLegalGameMove(EngineState& state, Move move, bool moverIsWhite);
// The side's legal moves into legal (room for moveListCapacity), captures first, each
// kind in the order the generators write them; returns their number.
int generateLegalMoves(EngineState& state, bool moverIsWhite, Move* legal);
// The first of those, or 0 when the side has no legal move.
Move firstLegalMove(EngineState& state, bool moverIsWhite);

// --- Typed moves ------------------------------------------------------------------
// Replaces move by the generated word of the same squares and promotion; false if none.
bool matchGeneratedMove(Move& move, bool moverIsWhite, const EngineState& state);
