// bench [depth]
// Searches a fixed list of positions to a fixed depth from cleared tables with the
// engine's own think driver, and prints per position the nodes and the best move. The
// node total is the search's signature: it changes only when the search's behaviour does.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

constexpr int defaultDepth = 10;

// Openings, middle games, endings and tactical shots, with either side to move.
const char* const positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "rnbqkb1r/pp1p1ppp/4pn2/2p5/2PP4/5N2/PP2PPPP/RNBQKB1R w KQkq - 0 4",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8",
    "r2q1rk1/ppp2ppp/2n1bn2/2bpp3/4P3/2PP1NP1/PP1N1PBP/R1BQ1RK1 b - - 0 8",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r3r1k1/pp3pbp/1qp3p1/2B5/2BP2b1/Q1n2N2/P4PPP/3R1K1R b - - 0 17",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 10",
    "2br2k1/2q3rn/p2NppQ1/2p1P3/Pp5R/4P3/1P3PPP/3R2K1 w - - 0 1",
    "4k1r1/2p3r1/1pR1p3/3pP2p/3P2qP/P4N2/1PQ4P/5R1K b - - 0 1",
    "r2rb1k1/pp1q1p1p/2n1p1p1/2bp4/5P2/PP1BPR1Q/1BPN2PP/R5K1 w - - 0 1",
    "r1b2rk1/ppbn1ppp/4p3/1QP4q/3P4/N4N2/5PPP/R1B2RK1 w - - 0 1",
    "6k1/1b1nqpbp/pp4p1/5P2/1PN5/4Q3/P5PP/1B2B1K1 b - - 0 1",
    "3r2k1/1p1b1pp1/pq5p/8/3NR3/2PQ3P/PP3PP1/6K1 b - - 0 1",
    "r2q2k1/pp1rbppp/4pn2/2P5/1P3B2/6P1/P3QPBP/1R3RK1 w - - 0 1",
    "2r5/2rk2pp/1pn1pb2/pN1p4/P2P4/1N2B3/nPR1KPPP/3R4 b - - 0 1",
    "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1",
    "5k2/6pp/p1qN4/1p1p4/3P4/2PKP2Q/PP3r2/3R4 b - - 0 1",
    "r1bqkb1r/pppp1ppp/8/4P3/6n1/7P/PPPNPPP1/R1BQKBNR b KQkq - 0 1",
    "r4q1k/p2bR1rp/2p2Q1N/5p2/5p2/2P5/PP3PPP/R5K1 w - - 0 1",
    "3q1rk1/p4pp1/2pb3p/3p4/6Pr/1PNQ4/P1PB1PP1/4RRK1 b - - 0 1",
    "r1bqk2r/ppp1nppp/4p3/n5N1/2BPp3/P1P5/2P2PPP/R1BQK2R w KQkq - 0 1",
    "7k/1b1r2p1/p6p/1p2qN2/3bP3/3Q4/P5PP/1B1R3K b - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - - 0 1",
    "2r3k1/pp3ppp/8/3n4/8/2B2P2/PP4PP/6K1 w - - 0 1",
    "8/8/4k3/3p4/3P4/4K3/8/8 w - - 0 1",
    "8/5pk1/6p1/8/8/6P1/5PK1/8 b - - 0 1",
    "1K1k4/1P6/8/8/8/8/r7/2R5 w - - 0 1",
    "R7/P4k2/8/8/8/8/r7/6K1 w - - 0 1",
    "8/8/8/8/8/5k2/4r3/6K1 b - - 0 1",
    "8/p1q2pkp/2Pr2p1/8/P3Q3/6P1/5P1P/2R3K1 w - - 0 1",
};

std::string lowerMoveText(const EngineState& state, Move move) {
    std::string text(moveToText(move, state.enginePlaysWhite).view());
    for (int i = 0; i < 4 && i < static_cast<int>(text.size()); ++i)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    int depth = defaultDepth;
    if (argc > 2 || (argc == 2 && (depth = std::atoi(argv[1])) < 1) || depth > 40) {
        std::fprintf(stderr, "usage: bench [depth 1..40]\n");
        return 2;
    }
    auto owner = std::make_unique<EngineState>();
    EngineState& state = *owner;
    initEngineState(state);
    // Silent: no thinking lines and no input polling, and a clock that never runs out.
    state.outputEnabled = false;
    state.depthLimit = depth + 2;  // the thinking line counts iterations from 3 as depth 1

    std::int64_t total = 0;
    const auto start = std::chrono::steady_clock::now();
    int index = 0;
    for (const char* fen : positions) {
        ++index;
        if (!parsePositionText(false, fen, state) || !isPlayablePosition(state, true)) {
            std::fprintf(stderr, "bench: position %d is not playable: %s\n", index, fen);
            return 1;
        }
        recordGamePosition(state, state.position, state.startMove, true, castlingByte(state.position));
        state.lastGameMove = -1;
        state.clock = 1.0;
        state.movesPerControl = 0;
        clearMainTable();
        clearScoreTable();
        state.tableAge = 0;
        think(state, nullMove);
        total += state.nodeCount;
        std::printf("%2d %-10s nodes %lld depth %d score %d\n", index, lowerMoveText(state, state.pv[1]).c_str(),
                    static_cast<long long>(state.nodeCount), state.searchDepth - 2, state.bestScore);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("nodes %lld time %.3f nps %.0f\n", static_cast<long long>(total), seconds,
                seconds > 0 ? total / seconds : 0.0);
    return 0;
}
