// Pawn sets and the pawns' square-colour counts, from scratch and one move at a time.
#include "tambloreval/tambloreval.h"

namespace {

inline void countPawn(std::uint8_t& onDark, std::uint8_t& onLight, bool dark, int sign) {
    std::uint8_t& count = dark ? onDark : onLight;
    count = static_cast<std::uint8_t>(count + sign);
}

inline void addWhitePawn(NodeState& n, const EngineState& st, int s, int sign) {
    n.whitePawnSet ^= st.squareBit[s];
    countPawn(n.whitePawnsOnDark, n.whitePawnsOnLight, st.isDarkSquare[s], sign);
}

inline void addBlackPawn(NodeState& n, const EngineState& st, int s, int sign) {
    n.blackPawnSet ^= st.squareBit[s];
    countPawn(n.blackPawnsOnDark, n.blackPawnsOnLight, st.isDarkSquare[s], sign);
}

}  // namespace

void initPawnSets(NodeState& n, const EngineState& st) {
    n.whitePawnSet = n.blackPawnSet = 0;
    n.whitePawnsOnDark = n.whitePawnsOnLight = n.blackPawnsOnDark = n.blackPawnsOnLight = 0;
    const std::uint8_t* b = st.position.squares;
    for (int s = 31; s <= 88; ++s) {
        if (b[s] == whitePawn) addWhitePawn(n, st, s, +1);
        else if (b[s] == blackPawn) addBlackPawn(n, st, s, +1);
    }
}

void updatePawnSets(NodeState& n, const EngineState& st, Move move, int captured) {
    const int from = moveFrom(move), to = moveTo(move);
    const int promotion = movePromotion(move);
    const int mover = st.position.squares[to];
    if (promotion != 0) {
        // The pawn leaves the set; the new piece stands on the last rank, outside it.
        if (promotion & 1) addWhitePawn(n, st, from, -1);
        else addBlackPawn(n, st, from, -1);
    } else if (mover == whitePawn) {
        addWhitePawn(n, st, from, -1);
        addWhitePawn(n, st, to, +1);
    } else if (mover == blackPawn) {
        addBlackPawn(n, st, from, -1);
        addBlackPawn(n, st, to, +1);
    }
    if (captured == whitePawn)
        addWhitePawn(n, st, moveKind(move) == kindEnPassant ? to + 10 : to, -1);
    else if (captured == blackPawn)
        addBlackPawn(n, st, moveKind(move) == kindEnPassant ? to - 10 : to, -1);
}
