#pragma once
// The book builder: opening theory read with the engine's own move rules, a stockfish
// link that remembers its verdicts, the two book trees grown from both, and the check
// that the written books are legal, sound and varied.
#include <sys/types.h>

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "tamblorvars/tamblorvars.h"

// What a book must meet: every book move of the engine within maxLoss centipawns of
// stockfish's best, and no line ending worse than worstEnd for the engine.
constexpr int maxLoss = 30;
constexpr int worstEnd = -40;
constexpr int maxBookPlies = 20;  // twenty four-character moves fill a book line

// --- Game lines: lower-case coordinate moves from the standard start --------------------
using GameLine = std::vector<std::string>;

// The board after a line, kept in the game's own orientation (the stored White is the
// game's White whoever moves).
struct LinePosition {
    bool legal;           // every move was legal in turn
    bool whiteToMove;
    int reversibleMoves;  // half-moves since the last pawn move or capture
};
LinePosition playLine(EngineState& state, const GameLine& line);
std::string positionFen(const EngineState& state, const LinePosition& at, int ply);
std::vector<std::string> legalMoveTexts(EngineState& state, bool whiteToMove);
// A move in standard algebraic notation as coordinate text, "" when it names no
// legal move or is a promotion (the books hold none).
std::string sanToText(EngineState& state, const std::string& san, bool whiteToMove);
std::string joinLine(const GameLine& line, const char* separator);
std::string lowerCase(std::string text);
// A move as lower-case coordinate text, read in the given orientation.
std::string lowerText(Move move, bool white);

// --- Opening theory ---------------------------------------------------------------------
struct TheoryNode {
    std::string move;
    int lines = 0;                     // source lines through this node
    std::string name;                  // "C60 Ruy Lopez" when a source line ends here
    std::vector<TheoryNode> children;  // most lines first
};
struct TheorySummary {
    int read = 0;
    int rejected = 0;
};
// The source's lines as a tree; lines that are not legal from the start are rejected.
TheoryNode readTheory(const std::string& path, EngineState& state, TheorySummary& summary);

// --- Stockfish --------------------------------------------------------------------------
struct Verdict {
    int score;         // centipawns for the side to move
    std::string best;  // coordinate text
};
struct Stockfish {
    pid_t pid = -1;
    std::FILE* toEngine = nullptr;
    std::FILE* fromEngine = nullptr;
    int depth = 0;
    std::unordered_map<std::string, Verdict> cache;
    std::FILE* cacheFile = nullptr;
    int searches = 0;  // not answered from the cache
};
bool startStockfish(Stockfish& fish, const std::string& program, const std::string& cachePath, int depth);
// A fixed-depth search from a cleared hash, so that a verdict depends on nothing but
// the position, the depth and the moves searched ("" = all).
Verdict analyse(Stockfish& fish, const std::string& fen, const std::string& searchMoves = "");
void stopStockfish(Stockfish& fish);

// The two questions a book asks, for the side the book plays.
struct Judge {
    EngineState& state;
    Stockfish& fish;
    bool engineWhite;
};
std::string fenOf(Judge& judge, const GameLine& line);
Verdict bestOf(Judge& judge, const GameLine& line);          // for the side to move
int endScore(Judge& judge, const GameLine& line);            // for the engine
int moveLoss(Judge& judge, const GameLine& line, const std::string& move);  // behind the best

// --- Building and checking --------------------------------------------------------------
struct BuildSummary {
    int droppedReplies = 0;  // source replies left out because no answer to them ended well
};
// Builds the book of one colour and writes it to path.
bool buildBook(Judge& judge, const TheoryNode& theory, const std::string& path, BuildSummary& summary);
// Loads a written book as the engine does, replays every line and checks soundness and
// variety; prints the figures. False when a rule is broken.
bool checkBook(Judge& judge, const std::string& path, const TheoryNode& theory);
