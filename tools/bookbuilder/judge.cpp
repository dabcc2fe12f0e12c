// The two verdicts a book needs, from the side the book plays: how far a book move is
// behind stockfish's best, and how a line's last position stands.
#include "bookbuilder.h"

std::string fenOf(Judge& judge, const GameLine& line) {
    const LinePosition at = playLine(judge.state, line);
    return at.legal ? positionFen(judge.state, at, static_cast<int>(line.size())) : "";
}

Verdict bestOf(Judge& judge, const GameLine& line) { return analyse(judge.fish, fenOf(judge, line)); }

int endScore(Judge& judge, const GameLine& line) {
    const bool engineToMove = (line.size() % 2 == 0) == judge.engineWhite;
    const int score = bestOf(judge, line).score;
    return engineToMove ? score : -score;
}

int moveLoss(Judge& judge, const GameLine& line, const std::string& move) {
    const Verdict best = bestOf(judge, line);
    if (best.best == move) return 0;
    return best.score - analyse(judge.fish, fenOf(judge, line), move).score;
}
