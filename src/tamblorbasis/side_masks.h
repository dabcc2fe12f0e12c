#pragma once
// One side's men, its pawns and the enemy men as 64-bit sets (bit 8 x rank + file, a1 =
// bit 0), read from the mailbox in one pass: the capture generator's view of the board.
#include <cstdint>

#include "tamblorbasis/board.h"
#include "tamblorbasis/board_bits.h"
#include "tamblorbasis/rank_words.h"

struct SideMasks {
    std::uint64_t own, ownPawns, enemy;
};

template <bool White>
inline SideMasks readSideMasks(const std::uint8_t* squares) {
    SideMasks m{0, 0, 0};
#if defined(__SSE2__) || defined(_M_X64)
    // Two ranks per register. A playing square holds 0, an odd value (White) or an even one
    // (Black): a 64-bit shift lifts bit 0 or bit 1 of each byte to its top bit, which movemask
    // gathers, sixteen answers at once.
    const __m128i pawn = _mm_set1_epi8(static_cast<char>(White ? whitePawn : blackPawn));
    for (int pair = 0; pair < 4; ++pair) {
        const __m128i v = rankPair(squares, pair);
        const int shift = 16 * pair;
        const std::uint64_t white = unsigned(_mm_movemask_epi8(_mm_slli_epi64(v, 7)));
        const std::uint64_t black = unsigned(_mm_movemask_epi8(_mm_slli_epi64(v, 6)));
        m.own |= (White ? white : black) << shift;
        m.enemy |= (White ? black : white) << shift;
        m.ownPawns |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, pawn)))) << shift;
    }
#else
    for (int rank = 0; rank < 8; ++rank) {
        const std::uint64_t word = rankWord(squares, rank);
        const std::uint64_t white = whitePieceFlags(word), black = blackPieceFlags(word);
        const std::uint64_t own = White ? white : black;
        m.own |= packFlags(own) << (8 * rank);
        m.enemy |= packFlags(White ? black : white) << (8 * rank);
        m.ownPawns |= packFlags(own & ~nonPawnFlags(word)) << (8 * rank);
    }
#endif
    return m;
}
