// evaltrace "<FEN>" [--engine-not-to-move]
// Prints the static evaluation term by term as the root search prepares it, from the
// engine's side (the stored White). By default the engine is the side to move (root at
// ply 1); with --engine-not-to-move the board is stored with the engine not to move
// (ply 2). Remaining depth 0, so king safety is included.
#include <cstdio>
#include <cstring>
#include <memory>

#include "tamblorbasis/tamblorbasis.h"
#include "tambloreval/tambloreval.h"
#include "tamblorvars/tamblorvars.h"

namespace {

void printBoard(const EngineState& st) {
    std::printf("stored board (engine in upper case, stored rank 8 at the top):\n");
    for (int rank = 8; rank >= 1; --rank) {
        std::printf("  %d ", rank);
        for (int file = 1; file <= 8; ++file) {
            const int v = st.position.squares[10 * (rank + 1) + file];
            const char* pieces = "PNBRQK";
            char c = '.';
            if (v != emptySquare) {
                c = pieces[v / 4];
                if (v & 2) c = static_cast<char>(c - 'A' + 'a');
            }
            std::printf(" %c", c);
        }
        std::printf("\n");
    }
    std::printf("     a b c d e f g h\n");
}

}  // namespace

int main(int argc, char** argv) {
    bool engineNotToMove = false;
    const char* fen = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--engine-not-to-move") == 0) engineNotToMove = true;
        else fen = argv[i];
    }
    if (fen == nullptr) {
        std::fprintf(stderr, "usage: evaltrace \"<FEN>\" [--engine-not-to-move]\n");
        return 2;
    }
    auto state = std::make_unique<EngineState>();
    EngineState& st = *state;
    initEngineState(st);
    if (!parsePositionText(engineNotToMove, fen, st)) {
        std::fprintf(stderr, "evaltrace: cannot read the position\n");
        return 1;
    }

    // The root preparation, in the root search's order.
    NodeState n{};
    initMaterial(n, st);
    prepareRootTables(st);
    n.positionalTerm = sumPositional(st);
    initPawnSets(n, st);
    st.ply = engineNotToMove ? 2 : 1;
    evaluate(n, true, 0, st);
    lazyScore(n, st);

    std::printf("engine plays %s, %s (ply %d, remaining depth 0)\n", st.enginePlaysWhite ? "White" : "Black",
                engineNotToMove ? "opponent to move" : "engine to move", st.ply);
    printBoard(st);
    std::printf("material engine    %6d  (pawns %d, pieces %d)\n", n.whiteMaterial, n.whitePawnMaterial,
                n.whitePieceMaterial);
    std::printf("material opponent  %6d  (pawns %d, pieces %d)\n", n.blackMaterial, n.blackPawnMaterial,
                n.blackPieceMaterial);
    std::printf("material balance   %+6d\n", n.whiteMaterial - n.blackMaterial);
    std::printf("positional         %+6d  (early queen: engine %s, opponent %s)\n", n.positionalTerm,
                st.whiteEarlyQueen ? "yes" : "no", st.blackEarlyQueen ? "yes" : "no");
    std::printf("pawn structure     %+6d\n", n.pawnStructure);
    std::printf("passed pawns       %+6d\n", n.passedPawns);
    std::printf("piece terms        %+6d\n", n.pieceTerms);
    std::printf("king placement     %+6d\n", n.kingPlacement);
    std::printf("king danger engine   %4d  (subtracted)\n", n.whiteKingDanger);
    std::printf("king danger opponent %4d  (added)\n", n.blackKingDanger);
    const int sum = termSum(n);
    const int rookMinors = rookVersusMinors(n);
    const bool bothStrong = n.whitePieceMaterial >= 925 && n.blackPieceMaterial >= 925;
    const int bishopKnight = bishopVersusKnight(n);
    std::printf("sum of terms       %+6d\n", sum);
    std::printf("rook vs two minors %+6d\n", rookMinors);
    std::printf("bishop vs knight   %+6d\n", bishopKnight);
    std::printf("ending scale       %+6d  (%s)\n", n.score - (sum + rookMinors + bishopKnight),
                bothStrong ? "not applied: both sides have 925 or more in pieces" : "applied to the lead");
    std::printf("score %d\n", n.score);
    return 0;
}
