// Choosing a book move: the game so far is the key, the first group of lines that
// continues it offers its distinct continuations, and one of them is drawn at random.
#include <chrono>
#include <cstdint>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// Twenty-one moves of four characters, and room for a longer recorded text.
using BookKey = BoundedText<128>;

// Appends one move text; false for an under-promotion, which the book never holds, so
// a game with one has left the book for good.
bool appendMove(BookKey& key, std::string_view text) {
    const LineText move = normaliseLine(text);
    if (move.length == 5) {
        if (move[4] != 'Q') return false;
        key.append(move.view().substr(0, 4));
        return true;
    }
    key.append(move.view());
    return true;
}

// Reseeded from the clock before every choice; the clock's nanoseconds are mixed so
// that choices made in quick succession are still independent.
int randomIndex(int count) {
    std::uint64_t x = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return static_cast<int>(x % static_cast<std::uint64_t>(count));
}

}  // namespace

int collectBookMoves(const BookTable& table, std::string_view key, bool white, Move* candidates) {
    int count = 0;
    for (int i = 0; i < table.count && count < bookCandidateLimit; ++i) {
        const std::string_view entry = table.entries[i].view();
        if (entry == "#") {
            if (count > 0) break;
            continue;
        }
        if (entry.substr(0, key.size()) != key) continue;
        const Move move = textToMove(true, entry.substr(key.size(), 4), white);
        if (move == nullMove) continue;
        bool known = false;
        for (int j = 0; j < count; ++j) known = known || candidates[j] == move;
        if (!known) candidates[count++] = move;
    }
    return count;
}

bool probeBook(EngineState& state, Move opponentMove) {
    if (state.lastGameMove >= bookMoveLimit || !state.standardStart) return false;
    BookKey key;
    for (int i = 0; i <= state.lastGameMove; ++i)
        if (!appendMove(key, state.gameMoves[i])) return false;
    if (opponentMove != nullMove && !appendMove(key, moveToText(opponentMove, state.enginePlaysWhite))) return false;

    Move candidates[bookCandidateLimit];
    const BookTable& table = state.enginePlaysWhite ? whiteBook : blackBook;
    const int count = collectBookMoves(table, key, state.enginePlaysWhite, candidates);
    if (count == 0) return false;
    copyLine(state.pv, state.emptyPv);
    state.pv[1] = candidates[count == 1 ? 0 : randomIndex(count)];
    return true;
}
