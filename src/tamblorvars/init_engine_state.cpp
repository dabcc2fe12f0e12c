// initEngineState: the board templates, geometry, evaluation tables and position keys.
#include <algorithm>
#include <cstdlib>

#include "tamblorvars/tamblorvars.h"

namespace {

// Piece-square sources, rank 1 first, files a..h, from the engine's side.
constexpr std::int8_t knightSource[8][8] = {
    {-9, -4, 0, 1, 1, 0, -6, -9}, {-2, 0, 2, 2, 2, 2, 0, -2}, {-2, 0, 4, 4, 4, 4, 0, -2},
    {-2, 2, 9, 9, 9, 9, 2, -2},   {-2, 2, 13, 13, 13, 13, 2, -2}, {-2, 6, 13, 13, 13, 13, 6, -2},
    {-2, 8, 13, 13, 13, 13, 8, -2}, {-60, 8, 8, 8, 8, 8, 8, -60},
};
constexpr std::int8_t kingSource[8][8] = {
    {-4, -2, 0, 1, 1, 0, -2, -4}, {-3, 1, 2, 3, 3, 2, 1, -3}, {0, 3, 4, 5, 5, 4, 3, 0},
    {0, 4, 5, 7, 7, 5, 4, 0},     {0, 5, 8, 10, 10, 8, 5, 0}, {0, 6, 8, 10, 10, 8, 6, 0},
    {0, 8, 10, 10, 10, 10, 8, 0}, {0, 8, 8, 8, 8, 8, 8, 0},
};
constexpr std::int8_t bishopSource[8][8] = {
    {-9, -3, -3, -3, -3, -3, -3, -9}, {0, 6, 0, -1, -2, 0, 6, 0}, {-5, 0, 6, 0, 0, 6, 0, -5},
    {0, 0, 0, 6, 6, 0, 0, 0},         {0, 0, 8, 10, 10, 8, 0, 0}, {0, 4, 8, 10, 10, 8, 4, 0},
    {0, 8, 10, 10, 10, 10, 8, 0},     {0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr std::int8_t pawnSource[8][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},     {0, 0, 0, 0, 0, 0, 0, 0},     {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 8, 10, 14, 14, 10, 8, 0}, {0, 8, 10, 14, 14, 10, 8, 0}, {0, 8, 10, 14, 14, 10, 8, 0},
    {40, 40, 40, 40, 40, 40, 40, 40}, {0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr std::int8_t queenSource[8][8] = {
    {25, 25, 30, 30, 30, 30, 25, 25}, {25, 26, 33, 33, 33, 33, 26, 25},
    {26, 32, 33, 33, 33, 33, 32, 26}, {32, 33, 36, 36, 36, 36, 33, 32},
    {33, 34, 38, 38, 38, 38, 34, 33}, {33, 36, 40, 40, 40, 40, 36, 33},
    {33, 36, 40, 40, 40, 40, 40, 33}, {33, 36, 40, 40, 40, 40, 40, 33},
};
constexpr std::int8_t rookSource[8][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},         {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},         {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 6, 6, 6, 6, 0, 0},         {4, 6, 6, 6, 6, 6, 6, 4},
    {22, 28, 28, 28, 28, 28, 28, 22}, {16, 22, 22, 22, 22, 22, 22, 16},
};

bool isPlayingSquare(int s) { return s >= 21 && s <= 98 && s % 10 != 0 && s % 10 != 9; }

std::int8_t source(const std::int8_t (&table)[8][8], int s) { return table[(s - 10) / 10 - 1][s % 10 - 1]; }

int mirrorSquare(int s) { return 110 + 2 * (s % 10) - s; }

void buildTemplates(EngineState& st) {
    std::uint8_t* empty = positionBytes(st.emptyBoard);
    for (int k = 0; k < 128; ++k) empty[k] = isPlayingSquare(k) ? emptySquare : border;
    empty[20] = scanEnd;
    empty[99] = scanEnd;

    st.startPosition = st.emptyBoard;
    Position& p = st.startPosition;
    const std::uint8_t backRank[8] = {whiteRook, whiteKnight, whiteBishop, whiteQueen,
                                      whiteKing, whiteBishop, whiteKnight, whiteRook};
    for (int f = 0; f < 8; ++f) {
        p.squares[21 + f] = backRank[f];
        p.squares[91 + f] = static_cast<std::uint8_t>(backRank[f] + 1);
        p.squares[31 + f] = whitePawn;
        p.squares[81 + f] = blackPawn;
    }
    p.whiteCastling = kingSideRight | queenSideRight;
    p.blackCastling = kingSideRight | queenSideRight;
    p.enPassantPawn = 0;
    p.whiteKingSquare = 25;
    p.blackKingSquare = 95;
}

void buildSquareTables(EngineState& st) {
    int next = 0;
    for (int k = 0; k < 128; ++k) st.squareIndex[k] = isPlayingSquare(k) ? next++ : 0;
    for (int k = 0; k < 128; ++k) {
        st.fileOf[k] = static_cast<std::uint8_t>(k % 10);
        st.isEdgeFile[k] = st.fileOf[k] == 1 || st.fileOf[k] == 8;
        st.rankOf[k] = static_cast<std::int8_t>((k - 10) / 10);
        st.isDarkSquare[k] = (st.rankOf[k] + st.fileOf[k]) % 2 == 0;

        int inward = k;
        if (st.fileOf[k] == 1) inward += 1;
        if (st.fileOf[k] == 8) inward -= 1;
        if (st.rankOf[k] == 1) inward += 10;
        if (st.rankOf[k] == 8) inward -= 10;
        st.inwardSquare[k] = inward;

        const int r = st.rankOf[k];
        st.whiteBishopReach[k] = r > 1 ? r * 4 - 8 : 0;
        st.blackBishopReach[k] = std::max(28 - r * 4, 0);
        st.whiteWeakPawn[k] = isPlayingSquare(k) && r >= 2 && r <= 7 ? (9 - r) * 4 : 0;
        st.blackWeakPawn[k] = isPlayingSquare(k) ? r * 4 : 0;
    }
    for (int a = 0; a < 128; ++a)
        for (int b = 0; b < 128; ++b)
            st.squareDistance[a][b] =
                static_cast<std::uint8_t>(std::max(std::abs(a / 10 - b / 10), std::abs(a % 10 - b % 10)));
}

void buildPieceTables(EngineState& st) {
    for (int c = 0; c < 28; ++c) {
        st.pieceClass[c] = 0;
        st.rayStopper[c] = c == whitePawn || c == blackPawn || c == border || c == scanEnd;
    }
    st.pieceClass[whitePawn] = st.pieceClass[blackPawn] = 1;
    st.pieceClass[whiteKnight] = st.pieceClass[blackKnight] = 2;
    st.pieceClass[whiteBishop] = st.pieceClass[blackBishop] = 2;
    st.pieceClass[whiteRook] = st.pieceClass[blackRook] = 4;
    st.pieceClass[whiteQueen] = st.pieceClass[blackQueen] = 9;
    st.pieceClass[whiteKing] = st.pieceClass[blackKing] = 10;

    for (int c = 0; c < 19; ++c) st.pieceValue[c] = 0;
    st.pieceValue[whitePawn] = st.pieceValue[blackPawn] = 95;
    st.pieceValue[whiteKnight] = st.pieceValue[blackKnight] = 305;
    st.pieceValue[whiteBishop] = st.pieceValue[blackBishop] = 310;
    st.pieceValue[whiteRook] = st.pieceValue[blackRook] = 490;
    st.pieceValue[whiteQueen] = st.pieceValue[blackQueen] = 925;
}

void buildDirections(EngineState& st) {
    constexpr std::int8_t knight[8] = {8, 19, 21, 12, -8, -19, -21, -12};
    constexpr std::int8_t king[8] = {9, 10, 11, 1, -9, -10, -11, -1};
    std::copy(std::begin(knight), std::end(knight), st.knightOffsets);
    std::copy(std::begin(king), std::end(king), st.kingOffsets);
    for (int a = 0; a < 128; ++a)
        for (int b = 0; b < 128; ++b)
            st.knightStep[a][b] = st.queenDirection[a][b] = st.rookDirection[a][b] = st.bishopDirection[a][b] = 0;

    for (int s = 21; s <= 98; ++s) {
        if (!isPlayingSquare(s)) continue;
        for (std::int8_t d : king) {
            const bool straight = d == 1 || d == 10 || d == -10 || d == -1;
            for (int t = s + d; st.emptyBoard.squares[t] == emptySquare; t += d) {
                st.queenDirection[s][t] = d;
                (straight ? st.rookDirection : st.bishopDirection)[s][t] = d;
            }
        }
        for (std::int8_t d : knight) st.knightStep[s][s + d] = d;
    }
}

void buildPieceSquare(EngineState& st) {
    for (auto& row : st.pieceSquare)
        for (auto& v : row) v = 0;
    auto set = [&](int code, int s, int value) { st.pieceSquare[code][s] = static_cast<std::int8_t>(value); };
    for (int s = 21; s <= 98; ++s) {
        if (!isPlayingSquare(s)) continue;
        const int m = mirrorSquare(s);
        set(whitePawn, s, source(pawnSource, s));
        set(blackPawn, s, -source(pawnSource, m));
        set(whiteKnight, s, 2 * source(knightSource, s));
        set(blackKnight, s, -2 * source(knightSource, m));
        set(whiteBishop, s, source(bishopSource, s));
        set(blackBishop, s, -source(bishopSource, m));
        set(whiteRook, s, source(rookSource, s));
        set(blackRook, s, -source(rookSource, m));
        // The engine's queen table lies 10 above the mirrored opponent's.
        set(whiteQueen, s, 2 * source(queenSource, s) - 40);
        set(blackQueen, s, 50 - 2 * source(queenSource, m));
        set(whiteKing, s, source(kingSource, s));
        set(blackKing, s, -source(kingSource, m));
    }
    st.homeBonus[0] = st.pieceSquare[whiteQueen][24];
    st.homeBonus[1] = st.pieceSquare[blackQueen][94];
    st.homeBonus[2] = st.pieceSquare[whiteKnight][27];
    st.homeBonus[3] = st.pieceSquare[whiteBishop][26];
}

void buildMasks(EngineState& st) {
    for (int s = 0; s < 99; ++s) {
        st.squareBit[s] = st.whiteFrontSpan[s] = st.blackFrontSpan[s] = st.pawnNeighbours[s] = 0;
        st.whiteSupport[s] = st.blackSupport[s] = st.whitePassedMask[s] = st.blackPassedMask[s] = 0;
        if (isPlayingSquare(s)) st.squareBit[s] = 1ULL << ((s % 10 - 1) * 8 + (s / 10 - 2));
    }
    for (int s = 78; s >= 21; --s) st.whiteFrontSpan[s] = st.whiteFrontSpan[s + 10] + st.squareBit[s + 10];
    for (int s = 41; s <= 98; ++s) st.blackFrontSpan[s] = st.blackFrontSpan[s - 10] + st.squareBit[s - 10];

    auto bitIfOnBoard = [&](int s) { return isPlayingSquare(s) ? st.squareBit[s] : 0ULL; };
    for (int s = 31; s <= 88; ++s) {
        if (!isPlayingSquare(s)) continue;
        const std::uint64_t beside = bitIfOnBoard(s - 1) | bitIfOnBoard(s + 1);
        const std::uint64_t behind = bitIfOnBoard(s - 11) | bitIfOnBoard(s - 9);
        const std::uint64_t ahead = bitIfOnBoard(s + 9) | bitIfOnBoard(s + 11);
        st.pawnNeighbours[s] = beside | behind | ahead;
        st.whiteSupport[s] = beside | behind;
        st.blackSupport[s] = beside | ahead;
        std::uint64_t whitePassed = st.whiteFrontSpan[s], blackPassed = st.blackFrontSpan[s];
        for (int side : {s - 1, s + 1}) {
            if (!isPlayingSquare(side)) continue;
            whitePassed |= st.whiteFrontSpan[side];
            blackPassed |= st.blackFrontSpan[side];
        }
        st.whitePassedMask[s] = whitePassed;
        st.blackPassedMask[s] = blackPassed;
    }
}

void buildPositionKeys(EngineState& st) {
    std::uint64_t generator = 1001;
    for (auto& row : st.positionKeys)
        for (auto& key : row) {
            generator = nextKey(generator);
            key.low = static_cast<std::uint32_t>(generator);
            key.high = static_cast<std::uint32_t>(generator >> 32);
        }
}

}  // namespace

std::uint64_t nextKey(std::uint64_t state) { return state * 6364136223846793005ULL + 1; }

void initEngineState(EngineState& st) {
    st.enginePlaysWhite = true;
    st.startMove = nullMove;
    st.logEnabled = false;
    st.outputEnabled = false;
    st.tablesFresh = false;
    buildTemplates(st);
    buildSquareTables(st);
    buildPieceTables(st);
    for (Move& m : st.emptyPv) m = nullMove;
    buildDirections(st);
    buildPieceSquare(st);
    buildMasks(st);
    buildPositionKeys(st);
    // Until the first "new" the game is the start position with an empty record, so that
    // a move or a "go" sent before it meets a real board, not a zeroed one.
    st.position = st.startPosition;
    st.lastGameMove = -1;
    st.standardStart = true;
    st.startWhiteToMove = true;
}
