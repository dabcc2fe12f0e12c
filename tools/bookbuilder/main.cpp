// bookbuilder build|check [--source FILE] [--books DIR] [--cache FILE] [--depth N] [--stockfish PROGRAM]
//
// build: grows both books from the opening source with stockfish's verdicts, writes
// DIR/tamblorwhite.doc and DIR/tamblorblack.doc, then checks them.
// check: checks the books in DIR: every line legal, every book move within 30 cp of
// stockfish's best, no line ending worse than -40 cp for the engine, and the variety.
// Stockfish's verdicts are kept in the cache file, so a second run needs no searches.
#include <cstring>
#include <memory>

#include "bookbuilder.h"

namespace {

struct Options {
    bool build = false;
    std::string source = "/usr/share/scid/data/scid.eco";
    std::string books = "book";
    std::string cache = "build/stockfish-cache.txt";
    std::string stockfish = "/usr/games/stockfish";
    int depth = 14;
};

bool readOptions(int argc, char** argv, Options& options) {
    if (argc < 2 || (std::strcmp(argv[1], "build") != 0 && std::strcmp(argv[1], "check") != 0)) return false;
    options.build = std::strcmp(argv[1], "build") == 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--source") options.source = value;
        else if (name == "--books") options.books = value;
        else if (name == "--cache") options.cache = value;
        else if (name == "--stockfish") options.stockfish = value;
        else if (name == "--depth") options.depth = std::atoi(value.c_str());
        else return false;
    }
    return argc % 2 == 0 && options.depth >= 14;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bookbuilder build|check [--source FILE] [--books DIR] [--cache FILE] [--depth N>=14] "
                     "[--stockfish PROGRAM]\n");
        return 2;
    }
    auto state = std::make_unique<EngineState>();
    initEngineState(*state);
    TheorySummary summary;
    const TheoryNode theory = readTheory(options.source, *state, summary);
    std::printf("source %s: %d lines read, %d rejected as not legal from the start\n", options.source.c_str(),
                summary.read, summary.rejected);
    if (theory.children.empty()) return 1;

    Stockfish fish;
    if (!startStockfish(fish, options.stockfish, options.cache, options.depth)) {
        std::fprintf(stderr, "bookbuilder: cannot start %s or open %s\n", options.stockfish.c_str(), options.cache.c_str());
        return 1;
    }
    bool passed = true;
    for (const bool engineWhite : {true, false}) {
        Judge judge{*state, fish, engineWhite};
        const std::string path = options.books + (engineWhite ? "/tamblorwhite.doc" : "/tamblorblack.doc");
        if (options.build) {
            BuildSummary built;
            const bool written = buildBook(judge, theory, path, built);
            std::printf("%s %s; source replies left out because no answer ended well: %d\n", path.c_str(),
                        written ? "written" : "NOT WRITTEN", built.droppedReplies);
            passed = passed && written;
        }
        passed = checkBook(judge, path, theory) && passed;
    }
    std::printf("stockfish searches: %d (the rest from %s)\n", fish.searches, options.cache.c_str());
    stopStockfish(fish);
    return passed ? 0 : 1;
}
