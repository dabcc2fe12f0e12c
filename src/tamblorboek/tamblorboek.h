#pragma once
// The opening book: two tables of game lines read once at start-up, one for games in
// which the engine plays White and one for Black. A line is a game from the standard
// start written as consecutive four-character moves (E2E4E7E5...); a line "#" ends a
// group, and the first group that continues the game decides the book move.
#include <string_view>

#include "tamblorvars/tamblorvars.h"

constexpr int bookCapacity = 8001;    // entries 0..8000
constexpr int bookLineLength = 80;    // twenty moves
constexpr int bookCandidateLimit = 21;
constexpr int bookMoveLimit = 20;     // the book is asked while lastGameMove < 20

using BookLine = BoundedText<bookLineLength>;

struct BookTable {
    BookLine entries[bookCapacity];
    int count;  // entries stored; the rest are empty
};

// Process-wide: filled once by loadBook, read by every probe.
extern BookTable whiteBook;
extern BookTable blackBook;

// Reads "tamblorwhite.doc" and "tamblorblack.doc" from the working directory, or else
// from the folder they were installed to; a file found in neither leaves its table empty.
void loadBook(EngineState& state);
// One book file into one table (the loader of loadBook, for tools and tests); false
// when the file cannot be opened.
bool loadBookTable(BookTable& table, const char* fileName, EngineState& state);

// The distinct continuations of the game line key (normalised, four characters a
// move) held by the first group that has any, read as moves of the stored White in
// the given orientation. Returns their number (at most bookCandidateLimit).
int collectBookMoves(const BookTable& table, std::string_view key, bool white, Move* candidates);

// The book's answer to the game so far and the opponent's move about to be made (0 for
// none), while the game is young and began at the standard start: on success pv holds
// only the chosen move in entry 1, with its two squares set.
bool probeBook(EngineState& state, Move opponentMove);

// move (squares and promotion) as the generated word, if the mover may play it: its
// king is not left attacked, and castling neither starts in check nor crosses an
// attacked square. The board is left as it was.
bool matchLegalMove(EngineState& state, Move& move, bool moverIsWhite);

// The book path of the engine's turn. On success the opponent's move (if any) is made,
// pv entry 1 holds the completed book move and nothing else, replyReady is set and
// bestScore is 0. Fails, leaving the board untouched, when the game is too long or did
// not begin at the standard start, when the book has no move, when the book's move is
// not legal here, or when the opponent's move leaves its own king attacked (the search
// then answers it).
bool playFromBook(EngineState& state, Move opponentMove);
