// A UCI engine over two pipes, with every verdict kept in a cache file so that a
// rebuild or a check runs again in seconds and gives the same figures.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "bookbuilder.h"

namespace {

void send(Stockfish& fish, const std::string& command) {
    std::fprintf(fish.toEngine, "%s\n", command.c_str());
    std::fflush(fish.toEngine);
}

// Lines up to and including the first that starts with prefix.
std::vector<std::string> readUntil(Stockfish& fish, const std::string& prefix) {
    std::vector<std::string> lines;
    char* buffer = nullptr;
    size_t size = 0;
    while (getline(&buffer, &size, fish.fromEngine) > 0) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
        if (line.rfind(prefix, 0) == 0) break;
    }
    std::free(buffer);
    return lines;
}

std::string cacheKey(int depth, const std::string& fen, const std::string& searchMoves) {
    return std::to_string(depth) + '\t' + fen + '\t' + (searchMoves.empty() ? "-" : searchMoves);
}

// The score of the last report that has one; a mate counts as 10000 less its distance.
int scoreOf(const std::vector<std::string>& lines) {
    int score = 0;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            if (word != "score") continue;
            std::string unit;
            int value = 0;
            words >> unit >> value;
            score = unit == "cp" ? value : value > 0 ? 10000 - value : -10000 - value;
        }
    }
    return score;
}

}  // namespace

bool startStockfish(Stockfish& fish, const std::string& program, const std::string& cachePath, int depth) {
    fish.depth = depth;
    std::ifstream cached(cachePath);
    std::string row;
    while (std::getline(cached, row)) {
        // depth, position, moves searched, score, best move
        const size_t a = row.find('\t'), b = row.find('\t', a + 1), c = row.find('\t', b + 1),
                     d = row.find('\t', c + 1);
        if (d == std::string::npos) continue;
        fish.cache[row.substr(0, c)] = Verdict{std::stoi(row.substr(c + 1, d - c - 1)), row.substr(d + 1)};
    }
    fish.cacheFile = std::fopen(cachePath.c_str(), "a");
    if (fish.cacheFile == nullptr) return false;

    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return false;
    fish.pid = fork();
    if (fish.pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[1]);
        close(fromChild[0]);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    signal(SIGPIPE, SIG_IGN);
    fish.toEngine = fdopen(toChild[1], "w");
    fish.fromEngine = fdopen(fromChild[0], "r");
    send(fish, "uci");
    if (readUntil(fish, "uciok").empty()) return false;
    // One thread and a small hash: the verdicts stay reproducible and the machine shared.
    send(fish, "setoption name Threads value 1");
    send(fish, "setoption name Hash value 16");
    send(fish, "isready");
    return !readUntil(fish, "readyok").empty();
}

Verdict analyse(Stockfish& fish, const std::string& fen, const std::string& searchMoves) {
    const std::string key = cacheKey(fish.depth, fen, searchMoves);
    const auto known = fish.cache.find(key);
    if (known != fish.cache.end()) return known->second;

    send(fish, "ucinewgame");
    send(fish, "isready");
    readUntil(fish, "readyok");
    send(fish, "position fen " + fen);
    send(fish, "go depth " + std::to_string(fish.depth) + (searchMoves.empty() ? "" : " searchmoves " + searchMoves));
    const std::vector<std::string> lines = readUntil(fish, "bestmove");
    std::istringstream last(lines.empty() ? "" : lines.back());
    std::string word, best;
    last >> word >> best;
    const Verdict verdict{scoreOf(lines), best};
    fish.cache[key] = verdict;
    if (++fish.searches % 500 == 0) std::fprintf(stderr, "%d searches\n", fish.searches);
    std::fprintf(fish.cacheFile, "%s\t%d\t%s\n", key.c_str(), verdict.score, verdict.best.c_str());
    std::fflush(fish.cacheFile);
    return verdict;
}

void stopStockfish(Stockfish& fish) {
    if (fish.toEngine != nullptr) {
        send(fish, "quit");
        std::fclose(fish.toEngine);
    }
    if (fish.pid > 0) waitpid(fish.pid, nullptr, 0);
    if (fish.fromEngine != nullptr) std::fclose(fish.fromEngine);
    if (fish.cacheFile != nullptr) std::fclose(fish.cacheFile);
}
