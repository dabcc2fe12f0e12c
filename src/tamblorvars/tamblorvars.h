#pragma once
// The one record that holds the whole engine: the board, search data, clock, flags,
// the game record and history, and the constant tables built once at start-up.
#include <cstdint>

#include "tamblorbasis/board.h"
#include "tamblorvars/bounded_text.h"

struct PositionKeyPair {
    std::uint32_t low;
    std::uint32_t high;
};

// What each search node copies from its parent: incremental evaluation terms, key and
// search counters. Scores are from the engine's (stored White's) side.
struct NodeState {
    // Evaluation terms.
    std::int32_t score;
    std::int32_t whiteMaterial, blackMaterial;            // pawns included
    std::int32_t whitePawnMaterial, blackPawnMaterial;
    std::int32_t whitePieceMaterial, blackPieceMaterial;  // knights, bishops, rooks, queens
    std::int32_t minorBalance;                            // White minors minus Black minors
    std::int32_t rookBalance;
    std::int32_t whiteQueenCount, blackQueenCount;
    std::int32_t positionalTerm;
    std::int32_t pawnStructure;
    std::int32_t passedPawns;
    std::int32_t pieceTerms;
    std::int32_t kingPlacement;
    std::int32_t whiteKingDanger, blackKingDanger;
    std::uint8_t whiteBishopsOnDark, whiteBishopsOnLight;
    std::uint8_t blackBishopsOnDark, blackBishopsOnLight;
    std::uint8_t whitePawnsOnDark, whitePawnsOnLight;
    std::uint8_t blackPawnsOnDark, blackPawnsOnLight;
    std::uint64_t whitePawnSet, blackPawnSet;
    // Search fields.
    std::int32_t extensionCredit;    // eighths of a ply
    std::int32_t extensionBudget;
    std::uint32_t keyLow, keyHigh;
    std::int32_t reversibleCount;
    std::int32_t nullMoveCount;
    std::int32_t reductionBalance[2];  // by ply parity
    std::uint8_t castleEpState;
    std::uint8_t spare[15];
};
static_assert(sizeof(NodeState) == 144);

// Per-ply search data: entry k belongs to the node at ply k - 1.
struct PlyInfo {
    std::int32_t inCheck;        // > 0: the side to move at ply k - 1 is in check
    std::int32_t firstMoveDone;  // the node at ply k - 1 has recorded a legal move
    std::int32_t spare;
    Move killers[3];
    Move checkKillers[3];
};

// Key of the full-width node at one ply, for the in-line repetition test.
struct RepetitionRecord {
    std::uint32_t keyLow, keyHigh;
    std::uint8_t castleEpState;
};

struct GameHistoryEntry {
    bool engineToMove;
    std::uint32_t keyLow, keyHigh;
    std::uint8_t castleByte;  // 4 x blackCastling + whiteCastling
};

constexpr int pvLength = 32;
constexpr int plyInfoEntries = 82;       // numbered 1..81
constexpr int gameHistoryCapacity = 110; // numbered 1..110
constexpr int gameRecordCapacity = 4001; // indices 0..4000

using SetupText = BoundedText<200>;

struct EngineState {
    Position position;
    Position rootPosition;  // the board when the think driver began

    bool enginePlaysWhite;
    bool replyReady;
    bool iterationHasBest;
    bool tablesFresh;
    bool nullMoveAllowed;

    std::int32_t ply;  // root node = 1
    std::int32_t searchDepth;
    std::int64_t nodeCount;  // 64 bits: a long think passes two thousand million nodes
    // Where a think starts counting: 0, or a count that puts a node limit on a poll.
    std::int64_t nodeCountOrigin;
    std::int32_t allowedRootMoveCount;  // the list is kept at the end, away from the hot counters
    std::int32_t legalRootMoves;
    std::int32_t bestScore;
    std::int32_t previousScore;
    std::int32_t scoutPly;
    std::int32_t lazyNullLimit;
    std::int32_t stopSearch;
    bool gameRepetitionCheck;  // tree positions are looked up in the game history
    std::int32_t depthLimit;   // last iteration a think may start; 0 = no limit (set by tools only)
    bool whiteEarlyQueen, blackEarlyQueen;

    Move previousPv[pvLength];
    Move emptyPv[pvLength];
    Move pv[pvLength];  // entry 1 the engine's move, entry 2 the expected reply

    PlyInfo plyInfo[plyInfoEntries];
    RepetitionRecord repetitionRecords[plyInfoEntries];

    Move easyMove;
    std::int8_t homeBonus[4];  // queen d1, queen d8, knight g1, bishop f1 as first built

    // Clock, as fractions of a day.
    double searchStart, hitElapsed, clock, targetTime, maxTime, increment;
    std::int32_t movesPerControl;  // 0 = the whole game
    std::int32_t researchCount;

    bool outputEnabled;
    std::uint8_t tableAge;  // engine moves since the tables were cleared, wraps
    bool logEnabled;
    std::int32_t ioResult;

    // Constant tables, written only by initEngineState.
    Position startPosition;
    Position emptyBoard;
    Move startMove;
    std::uint8_t fileOf[128];
    std::int8_t rankOf[128];
    bool isDarkSquare[128];
    bool isEdgeFile[128];
    std::int8_t knightOffsets[8];
    std::int8_t kingOffsets[8];
    std::int8_t pieceSquare[23][128];  // changed only by prepareRootTables, from homeBonus
    std::int32_t inwardSquare[128];
    std::int32_t squareIndex[128];
    std::int32_t whiteWeakPawn[128];
    std::int32_t blackWeakPawn[128];
    std::int32_t whiteBishopReach[128];
    std::int32_t blackBishopReach[128];
    std::uint8_t squareDistance[128][128];
    std::int8_t knightStep[128][128];
    std::int8_t queenDirection[128][128];
    std::int8_t rookDirection[128][128];
    std::int8_t bishopDirection[128][128];
    PositionKeyPair positionKeys[12][64];  // by piece code / 2 and squareIndex
    std::int32_t pieceValue[19];
    bool rayStopper[28];
    std::uint8_t pieceClass[28];
    std::uint64_t squareBit[99];
    std::uint64_t whiteFrontSpan[99];
    std::uint64_t blackFrontSpan[99];
    std::uint64_t pawnNeighbours[99];
    std::uint64_t whiteSupport[99];
    std::uint64_t blackSupport[99];
    std::uint64_t whitePassedMask[99];
    std::uint64_t blackPassedMask[99];

    // The game.
    std::int32_t lastGameMove;  // -1 = empty record
    bool startWhiteToMove;
    bool standardStart;
    SetupText setupText;
    GameHistoryEntry gameHistory[gameHistoryCapacity + 1];  // numbered 1..110
    std::int32_t historyCount;
    std::int32_t gameReversibleCount;
    MoveText gameMoves[gameRecordCapacity];

    // The engine's moves the root may search (a GUI's restriction); none listed = all.
    // Read only when allowedRootMoveCount, among the search counters, is above 0.
    Move allowedRootMoves[256];
};

// Copies a whole line of moves (pv, previousPv, emptyPv to clear one).
inline void copyLine(Move* to, const Move* from) {
    for (int i = 0; i < pvLength; ++i) to[i] = from[i];
}

// Fills every table and template; leaves output and the log disabled.
void initEngineState(EngineState& state);

// The generator behind positionKeys: state * 6364136223846793005 + 1 (mod 2^64).
std::uint64_t nextKey(std::uint64_t state);
