// perft "<FEN>" <depth> [--divide] [--engine-not-to-move]
// Counts the leaf positions of the move tree with the engine's own move routines.
// --engine-not-to-move stores the board with the engine as the side not to move, so
// stored Black moves first; both orientations must give the same counts.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tamblorbasis/perft.h"
#include "tamblorvars/tamblorvars.h"

namespace {

struct DivideContext {
    bool enginePlaysWhite;
};

void printDivideLine(Move move, std::uint64_t nodes, void* context) {
    const auto* divide = static_cast<const DivideContext*>(context);
    std::string text(moveToText(move, divide->enginePlaysWhite).view());
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::printf("%s %llu\n", text.c_str(), static_cast<unsigned long long>(nodes));
}

int usage() {
    std::fprintf(stderr, "usage: perft \"<FEN>\" <depth> [--divide] [--engine-not-to-move]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    bool divide = false, engineNotToMove = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--divide") == 0) divide = true;
        else if (std::strcmp(argv[i], "--engine-not-to-move") == 0) engineNotToMove = true;
        else return usage();
    }
    char* end = nullptr;
    const long depth = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || depth < 0 || depth > 60) return usage();

    auto state = std::make_unique<EngineState>();
    initEngineState(*state);
    EngineState& st = *state;
    if (!parsePositionText(engineNotToMove, argv[1], st)) {
        std::fprintf(stderr, "perft: cannot read the position\n");
        return 1;
    }
    // The engine is stored White; it is to move unless told otherwise.
    const bool whiteToMove = !engineNotToMove;
    if (!isPlayablePosition(st, whiteToMove)) {
        std::fprintf(stderr, "perft: the position is not playable\n");
        return 1;
    }
    preparePerftRoot(st, whiteToMove);

    DivideContext context{st.enginePlaysWhite};
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t nodes = divide ? perftDivide(st, static_cast<int>(depth), printDivideLine, &context)
                                       : perft(st, static_cast<int>(depth));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double nps = seconds > 0 ? nodes / seconds : 0.0;
    std::printf("nodes %llu time %.3f nps %.0f\n", static_cast<unsigned long long>(nodes), seconds, nps);
    return 0;
}
