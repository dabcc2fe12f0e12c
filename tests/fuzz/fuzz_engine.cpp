// Coverage-guided fuzzing of the engine's text handling. The first byte picks the
// target, the rest is its input; every target checks what must hold for any input.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tamblorbasis/tamblorbasis.h"
#include "driver/driver.h"
#include "tamblorboek/tamblorboek.h"
#include "tambloruci/tambloruci.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

enum Target {
    lineReader,      // inputAvailable over a pipe on descriptor 0
    lineNormaliser,  // normaliseLine
    setUpText,       // parsePositionText, isPlayablePosition, then the moves of the side to move
    moveText,        // squareFromText, textToMove, matchGeneratedMove, moveToText
    clockText,       // parseLevel, setClock, computeTimeBudget
    bookLine,        // one opening-book line: loadBookTable, then the book path of a move
    bookFile,        // a whole opening-book file, the same
    uciLines,        // UCI command lines through runUciCommand, searches included
    targetCount
};

[[noreturn]] void fail(int line) {
    std::fprintf(stderr, "fuzz_engine.cpp:%d: check failed\n", line);
    std::abort();
}
#define require(condition) ((condition) ? void() : fail(__LINE__))

EngineState& engine() {
    static EngineState* state = [] { auto* fresh = new EngineState(); initEngineState(*fresh); return fresh; }();
    return *state;
}

// Lines come back cut at 250 bytes and without a CR that ends them, empty lines are
// skipped, a last line without its line feed still counts, and the end of input reads as
// "quit" from then on.
void fuzzLineReader(std::string_view bytes) {
    bytes = bytes.substr(0, 60000);  // what a pipe holds before anyone reads
    int ends[2];
    require(pipe(ends) == 0);
    require(write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    close(ends[1]);
    require(dup2(ends[0], 0) == 0);
    close(ends[0]);
    inputLine.clear();
    inputClosed = false;

    std::string_view rest = bytes;
    for (bool poll = false;; poll = !poll) {
        const size_t end = rest.find('\n');
        std::string_view expected = rest.substr(0, end).substr(0, inputLineLimit);
        if (end != std::string_view::npos && expected.ends_with('\r')) expected.remove_suffix(1);
        const bool got = inputAvailable(poll);
        if (end == std::string_view::npos) {
            // The end of input: a last unterminated line, then "quit" for good.
            require(got && inputLine.view() == (expected.empty() ? "quit" : expected));
            inputLine.clear();
            require(inputAvailable(poll) && inputLine.view() == "quit" && inputClosed);
            break;
        }
        require(got == !expected.empty() && inputLine.view() == expected);
        inputLine.clear();
        rest.remove_prefix(end + 1);
    }
    inputLine.clear();
}

// Blanks and control bytes go, lower-case letters become upper case, other bytes stay.
void fuzzNormaliser(std::string_view text) {
    std::string expected;
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) expected += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    require(normaliseLine(text).view() == std::string_view(expected).substr(0, LineText::capacity));
}

void requireFrameIntact(const EngineState& state) {
    for (int square = 0; square < 120; ++square)
        if (isOffBoard(square)) require(state.position.squares[square] == state.emptyBoard.squares[square]);
}

// A position that is set up and playable, then every move of the side to move, made and
// tested as the engine's root does it.
void fuzzSetUp(std::uint8_t flags, std::string_view text) {
    EngineState& state = engine();
    if (!parsePositionText(flags & 1, text.substr(0, SetupText::capacity), state)) return;
    requireFrameIntact(state);
    const bool white = (flags & 2) != 0;
    if (!isPlayablePosition(state, white)) return;
    const Position& p = state.position;
    require(p.squares[p.whiteKingSquare] == whiteKing && p.squares[p.blackKingSquare] == blackKing);
    if (p.enPassantPawn != 0) require(p.squares[p.enPassantPawn] == whitePawn || p.squares[p.enPassantPawn] == blackPawn);
    state.ply = white ? 2 : 3;
    const int king = white ? p.whiteKingSquare : p.blackKingSquare;
    state.plyInfo[state.ply].inCheck = isSquareAttacked(state, king, !white) ? 1 : 0;
    const Position before = state.position;
    MoveList list;
    for (int phase = 0; phase < 2; ++phase) {
        Move* cursor = list.moves;
        (phase == 0 ? (white ? generateWhiteCaptures : generateBlackCaptures)
                    : (white ? generateWhiteQuietMoves : generateBlackQuietMoves))(cursor, state);
        require(cursor > list.moves && cursor - list.moves <= moveListCapacity);
        for (Move* entry = cursor - 1; *entry != listSentinel; --entry) {
            const Move move = *entry;
            require(!isOffBoard(moveFrom(move)) && !isOffBoard(moveTo(move)));
            if (moveKind(move) == kindCastling) {
                isCastlingPathSafe(state, move);
                continue;
            }
            makeMove(state, move);
            isLegalAfterMove(state, move, !white);
            requireFrameIntact(state);
            state.position = before;
        }
    }
}

void fuzzMoveText(std::uint8_t flags, std::string_view text) {
    EngineState& state = engine();
    const bool white = flags & 1, moverIsWhite = flags & 2;
    // The start, and a position with castling, en passant and promotions for both sides.
    static constexpr std::string_view positions[] = {
        " rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        " r3k2r/pPp2ppp/8/3pP3/8/8/PpP2PPP/R3K2R w KQkq d6 0 1",
    };
    require(parsePositionText(!moverIsWhite, positions[(flags >> 2) & 1], state));

    const int square = squareFromText(text, white);
    require(square == 0 || !isOffBoard(square));
    Move move = textToMove(moverIsWhite, text, white);
    if (move == nullMove) return;
    require(!isOffBoard(moveFrom(move)) && !isOffBoard(moveTo(move)) && moveKind(move) == kindQuiet);
    if (!matchGeneratedMove(move, moverIsWhite, state)) return;
    // A generated move survives the round trip through its text.
    const MoveText written = moveToText(move, white);
    require(sameSquaresAndPromotion(textToMove(moverIsWhite, written, white), move));
    require(moveToThinkingText(move, white).length >= 4);
}

// Budgets stay finite, non-negative and ordered whatever LEVEL and TIME said.
void fuzzClock(std::uint8_t flags, std::string_view text) {
    EngineState& state = engine();
    setDefaultClock(state);
    state.lastGameMove = (flags * 37) % 4002 - 1;
    const size_t split = text.find('\n');
    const LineText level(text.substr(0, split));
    const LineText time = normaliseLine(split == std::string_view::npos ? "" : text.substr(split + 1));
    if (flags & 1) setClock(state, time);
    parseLevel(state, level);
    if (!(flags & 1)) setClock(state, time);
    computeTimeBudget(state);
    require(std::isfinite(state.clock) && std::isfinite(state.increment));
    require(std::isfinite(state.targetTime) && state.targetTime >= 0);
    require(std::isfinite(state.maxTime) && state.maxTime >= state.targetTime);
}

// Whatever the file holds, the table keeps normalised lines of at most 80 characters,
// and the book path either plays a legal move or leaves the board as it was.
void fuzzBook(std::uint8_t flags, std::string_view bytes) {
    static const std::string path = "/tmp/tamblor-fuzz-book-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::fclose(file);
    EngineState& state = engine();
    static BookTable table;
    require(loadBookTable(table, path.c_str(), state));
    std::remove(path.c_str());
    require(table.count >= 0 && table.count <= bookCapacity);
    for (int i = 0; i < bookCapacity; ++i) {
        const std::string_view entry = table.entries[i].view();
        require(entry.size() <= bookLineLength && (i < table.count) == !entry.empty());
        if (entry.empty()) continue;
        require(entry.front() != '@');
        for (char c : entry) require(static_cast<unsigned char>(c) > 32 && c != '\\' && !(c >= 'a' && c <= 'z'));
    }

    // The engine as White at the start, or as Black after 1.e4 (or 1.a4, not in most books).
    (flags & 1 ? whiteBook : blackBook) = table;
    state.position = state.startPosition;
    state.enginePlaysWhite = flags & 1;
    state.standardStart = true;
    state.lastGameMove = -1;
    Move opponent = nullMove;
    if (!state.enginePlaysWhite) {
        opponent = textToMove(false, flags & 2 ? "A2A4" : "E2E4", false);
        require(matchGeneratedMove(opponent, false, state));
    }
    const Position before = state.position;
    if (!playFromBook(state, opponent)) {
        require(std::equal(std::begin(before.squares), std::end(before.squares), state.position.squares));
        return;
    }
    Move reply = state.pv[1];
    require(matchLegalMove(state, reply, true) && reply == state.pv[1] && state.pv[2] == nullMove);
}

// What one command line sends, read back from a pipe put in place of standard output.
std::string runCapturingOutput(EngineState& state, std::string_view line) {
    int ends[2];
    require(pipe(ends) == 0);
    const int standardOutput = dup(1);
    require(dup2(ends[1], 1) == 1);
    close(ends[1]);
    runUciCommand(state, line);
    require(dup2(standardOutput, 1) == 1);
    close(standardOutput);
    std::string sent;
    char chunk[4096];
    for (ssize_t n; (n = read(ends[0], chunk, sizeof chunk)) > 0;) sent.append(chunk, static_cast<size_t>(n));
    close(ends[0]);
    return sent;
}

// UCI lines as the UCI loop runs them. The input has ended, so a search stops at its
// first poll (it reads "quit"); a go line gets a node limit of its own as well, to keep
// the runs short. Every line sent is a UCI line, a command sends at most one bestmove,
// and that move is legal in the position searched (0000: there is none).
void fuzzUciLines(std::string_view bytes) {
    EngineState& state = engine();
    const FrontEnd before = frontEnd;
    frontEnd = {uciInputWhileThinking, uciPrintThinking};
    state.outputEnabled = true;
    inputClosed = true;
    resetForNewGame(state);
    for (int count = 0; !bytes.empty() && count < 24; ++count) {
        const size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string line(bytes.substr(0, std::min<size_t>(end, longInputLineLimit - 12)));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (sameWord(UciWords{line}.next(), "go")) line += " nodes 300";
        longInputLine.clear();
        const std::string sent = runCapturingOutput(state, line);
        longInputLine.clear();
        int bestMoves = 0;
        for (size_t start = 0; start < sent.size();) {
            const size_t stop = sent.find('\n', start);
            require(stop != std::string::npos);
            const std::string_view out = std::string_view(sent).substr(start, stop - start);
            start = stop + 1;
            require(out.size() <= outputLineLimit);
            static constexpr std::string_view kinds[] = {"info ", "bestmove ", "readyok", "id ", "option ", "uciok"};
            require(std::any_of(std::begin(kinds), std::end(kinds), [&](std::string_view k) { return out.starts_with(k); }));
            if (!out.starts_with("bestmove ")) continue;
            ++bestMoves;
            const std::string_view word = out.substr(9, out.find(' ', 9) - 9);
            Move legal[moveListCapacity];
            const int n = generateLegalMoves(state, true, legal);
            bool found = false;
            for (int i = 0; i < n; ++i) found = found || uciMoveText(state, legal[i]).view() == word;
            require(word == "0000" ? n == 0 : found);
        }
        require(bestMoves <= 1);
    }
    state.outputEnabled = false;
    frontEnd = before;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    switch (data[0] % targetCount) {
        case lineReader: fuzzLineReader(rest); break;
        case lineNormaliser: fuzzNormaliser(rest); break;
        case setUpText: fuzzSetUp(data[1], rest); break;
        case moveText: fuzzMoveText(data[1], rest); break;
        case clockText: fuzzClock(data[1], rest); break;
        case bookLine: fuzzBook(data[1], rest.substr(0, rest.find('\n'))); break;
        case bookFile: fuzzBook(data[1], rest); break;
        case uciLines: fuzzUciLines(rest); break;
        default: break;
    }
    return 0;
}
