// The UCI command loop: identity and options, readiness, new games, and the commands
// that hand over to the position and go handlers.
#include "driver/driver.h"
#include "tambloruci/tambloruci.h"
#include "tamblorwinboard/tamblorwinboard.h"

UciSearch uciSearch = {0, -1, 0, 0, false, false, true, false};

namespace {

void sendIdentity(EngineState& state) {
    static constexpr std::string_view lines[] = {
        "id name Tamblor 0.35k",
        "id author the Tamblor developers",
        "option name Ponder type check default false",
        "option name OwnBook type check default true",
        "option name Clear Hash type button",
        "uciok",
    };
    for (std::string_view line : lines) sendLine(state, line);
}

bool isTrue(std::string_view word) { return sameWord(word, "true"); }

// "setoption name N [value V]": names may hold blanks; unknown ones change nothing.
void setOption(EngineState& state, UciWords words) {
    if (!sameWord(words.next(), "name")) return;
    BoundedText<40> name;
    std::string_view value;
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (sameWord(word, "value")) {
            value = words.next();
            break;
        }
        if (!name.empty()) name.append(' ');
        name.append(word);
    }
    if (sameWord(name, "Ponder")) {
        uciSearch.ponderOption = isTrue(value);
    } else if (sameWord(name, "OwnBook")) {
        uciSearch.ownBook = isTrue(value);
    } else if (sameWord(name, "Clear Hash")) {
        clearTables(state);
    }
}

void newGame(EngineState& state) {
    resetForNewGame(state);
    clearTables(state);
}

}  // namespace

std::string_view UciWords::next() {
    size_t start = 0;
    while (start < rest.size() && static_cast<unsigned char>(rest[start]) <= 32) ++start;
    size_t end = start;
    while (end < rest.size() && static_cast<unsigned char>(rest[end]) > 32) ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest = rest.substr(end);
    return word;
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y) return false;
    }
    return true;
}

bool runUciCommand(EngineState& state, std::string_view line) {
    UciWords words{line};
    // An unknown word is skipped and the rest read: "joho debug on" is "debug on".
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (sameWord(word, "quit")) return false;
        if (sameWord(word, "uci")) {
            sendIdentity(state);
        } else if (sameWord(word, "isready")) {
            sendLine(state, "readyok");
        } else if (sameWord(word, "ucinewgame")) {
            newGame(state);
        } else if (sameWord(word, "setoption")) {
            setOption(state, words);
        } else if (sameWord(word, "position")) {
            uciPosition(state, words);
        } else if (sameWord(word, "go")) {
            uciGo(state, words);
        } else if (!(sameWord(word, "debug") || sameWord(word, "register") || sameWord(word, "stop") ||
                     sameWord(word, "ponderhit"))) {
            continue;  // stop and ponderhit with no search running have nothing to act on
        }
        return true;
    }
    return true;
}

void uciLoop(EngineState& state) {
    frontEnd = {uciInputWhileThinking, uciPrintThinking};
    newGame(state);
    sendIdentity(state);
    // The command is taken out of the pending line before it runs: lines that arrive
    // while it searches are read into the pending line.
    static LongLineText command;
    for (;;) {
        while (!longInputAvailable(false)) {
        }
        command = longInputLine;
        longInputLine.clear();
        if (!runUciCommand(state, command.view())) return;
    }
}
