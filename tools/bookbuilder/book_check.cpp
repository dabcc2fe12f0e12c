// The check of a written book, through the engine's own loader and its own choice of
// candidates: every line replays legally; at every position the engine can reach in the
// book, each move the deciding group offers is within maxLoss of stockfish's best;
// every place where the book runs out is no worse than worstEnd for the engine.
#include <algorithm>
#include <cctype>
#include <memory>

#include "bookbuilder.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"

namespace {

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct Walk {
    Judge& judge;
    const BookTable& table;
    int enginePositions = 0, offeredMoves = 0, lineEnds = 0;
    int worstLoss = -100000, worstEnd = 100000;
    std::string worstLossAt = {}, worstEndAt = {};
};

// The engine's candidates after line, as the probe finds them.
std::vector<std::string> bookMoves(const Walk& w, const GameLine& line) {
    Move candidates[bookCandidateLimit];
    const int n = collectBookMoves(w.table, upper(joinLine(line, "")), w.judge.engineWhite, candidates);
    std::vector<std::string> moves;
    for (int i = 0; i < n; ++i) moves.push_back(lowerText(candidates[i], w.judge.engineWhite));
    return moves;
}

// The opponent's moves after line in any group (entries up to the first "#" when firstGroupOnly).
std::vector<std::string> replies(const BookTable& table, const GameLine& line, bool firstGroupOnly) {
    const std::string key = upper(joinLine(line, ""));
    std::vector<std::string> moves;
    for (int i = 0; i < table.count; ++i) {
        const std::string_view entry = table.entries[i].view();
        if (entry == "#" && firstGroupOnly) break;
        if (entry.size() < key.size() + 4 || entry.substr(0, key.size()) != key) continue;
        const std::string move = lowerCase(std::string(entry.substr(key.size(), 4)));
        if (std::find(moves.begin(), moves.end(), move) == moves.end()) moves.push_back(move);
    }
    return moves;
}

void walk(Walk& w, GameLine& line) {
    const bool engineToMove = (line.size() % 2 == 0) == w.judge.engineWhite;
    const std::vector<std::string> next = engineToMove ? bookMoves(w, line) : replies(w.table, line, false);
    if (next.empty()) {
        ++w.lineEnds;
        const int score = endScore(w.judge, line);
        if (score < w.worstEnd) w.worstEnd = score, w.worstEndAt = joinLine(line, " ");
        return;
    }
    if (engineToMove) {
        ++w.enginePositions;
        w.offeredMoves += static_cast<int>(next.size());
        for (const std::string& move : next) {
            const int loss = moveLoss(w.judge, line, move);
            if (loss > w.worstLoss) w.worstLoss = loss, w.worstLossAt = joinLine(line, " ") + " [" + move + "]";
        }
    }
    for (const std::string& move : next) {
        line.push_back(move);
        walk(w, line);
        line.pop_back();
    }
}

std::string list(const std::vector<std::string>& moves) { return joinLine(moves, " "); }

}  // namespace

bool checkBook(Judge& judge, const std::string& path, const TheoryNode& theory) {
    auto table = std::make_unique<BookTable>();
    loadBookTable(*table, path.c_str(), judge.state);

    int illegal = 0, groups = 1, mainLines = 0;
    std::vector<int> plies, mainPlies;
    for (int i = 0; i < table->count; ++i) {
        const std::string entry(table->entries[i].view());
        if (entry == "#") {
            ++groups;
            continue;
        }
        GameLine line;
        for (size_t at = 0; at + 4 <= entry.size(); at += 4) line.push_back(lowerCase(entry.substr(at, 4)));
        if (entry.size() % 4 != 0 || !playLine(judge.state, line).legal) {
            ++illegal;
            std::printf("  illegal line: %s\n", entry.c_str());
        }
        plies.push_back(static_cast<int>(line.size()));
        if (groups == 1) mainPlies.push_back(static_cast<int>(line.size())), ++mainLines;
    }
    auto spread = [](std::vector<int> v) {
        if (v.empty()) return std::string("none");
        std::sort(v.begin(), v.end());
        return "min " + std::to_string(v.front()) + " median " + std::to_string(v[v.size() / 2]) + " max " +
               std::to_string(v.back());
    };
    std::printf("%s: %zu lines in %d groups, %d main lines (first group); illegal lines: %d\n", path.c_str(),
                plies.size(), groups, mainLines, illegal);
    std::printf("  plies: all lines %s; main lines %s\n", spread(plies).c_str(), spread(mainPlies).c_str());

    // Variety at the first moves.
    Walk w{judge, *table};
    GameLine line;
    bool varied = true;
    if (judge.engineWhite) {
        const std::vector<std::string> first = bookMoves(w, line);
        std::printf("  first moves: %zu (%s)\n", first.size(), list(first).c_str());
        varied = first.size() >= 3;
        int replyCount = 0, answeredTwice = 0;
        for (const std::string& move : first) {
            const std::vector<std::string> mainReplies = replies(*table, {move}, true);
            for (const std::string& reply : replies(*table, {move}, false)) {
                const std::vector<std::string> answers = bookMoves(w, {move, reply});
                ++replyCount;
                answeredTwice += answers.size() >= 2;
                if (std::find(mainReplies.begin(), mainReplies.end(), reply) == mainReplies.end()) continue;
                std::printf("  main reply %s %s: %zu answers (%s)\n", move.c_str(), reply.c_str(), answers.size(),
                            list(answers).c_str());
                varied = varied && answers.size() >= 2;
            }
        }
        std::printf("  replies to the first moves: %d, answered in two or more ways: %d\n", replyCount, answeredTwice);
    } else {
        int answered = 0;
        for (const TheoryNode& first : theory.children) {
            line = {first.move};
            const std::vector<std::string> answers = bookMoves(w, line);
            answered += !answers.empty();
            std::printf("  after %s: %zu answers (%s)\n", first.move.c_str(), answers.size(), list(answers).c_str());
            const bool major = first.move == "e2e4" || first.move == "d2d4" || first.move == "c2c4" || first.move == "g1f3";
            varied = varied && answers.size() >= (major ? 2u : 1u);
        }
        std::printf("  first moves of the source answered: %d of %zu\n", answered, theory.children.size());
    }

    line.clear();
    walk(w, line);
    std::printf("  engine positions %d, moves offered %d, line ends %d\n", w.enginePositions, w.offeredMoves, w.lineEnds);
    std::printf("  worst book move: %d cp behind stockfish's best, at %s\n", w.worstLoss, w.worstLossAt.c_str());
    std::printf("  worst line end: %d cp for the engine, after %s\n", w.worstEnd, w.worstEndAt.c_str());
    const bool sound = w.worstLoss <= maxLoss && w.worstEnd >= worstEnd;
    const bool fits = table->count < bookCapacity;  // a full table may have cut the file short
    std::printf("  %s\n", illegal == 0 && sound && varied && fits ? "passed" : "FAILED");
    return illegal == 0 && sound && varied && fits;
}
