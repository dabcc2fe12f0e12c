// Growing a book from theory. Where the engine is to move, the book offers the most
// played source moves that stockfish finds sound (and stockfish's own best where the
// source has none or stops); where the opponent is to move it keeps every source
// reply, good or bad, so that the engine knows the answer. Lines beyond the source
// follow stockfish's best moves for both sides. Every line must end in a position
// that is good enough for the engine; an engine move whose lines cannot is not offered.
//
// The first group of the file holds the main lines: those in which the opponent keeps
// to its most played replies. They run as deep as the book can use; the other lines
// go at least sideLinePlies deep.
#include <algorithm>

#include "bookbuilder.h"
#include "tamblorboek/tamblorboek.h"

namespace {

constexpr int sideLinePlies = 12;
constexpr int theoryTries = 6;   // source moves tried at one engine position
constexpr int earlyPlies = 3;    // up to here stockfish's second choice may add variety

struct BookNode {
    std::string move;
    std::string name;  // the nearest source name on the way here
    int sourcePlies;   // how many moves of the line come from the source
    std::vector<BookNode> children;
};

struct Growth {
    bool ok;
    int drops;  // source replies left out below this node
};

// How many engine moves a position offers: several at the first two moves of each side,
// one later on.
int engineWidth(bool engineWhite, int ply) {
    if (engineWhite) return ply == 0 ? 4 : ply == 2 || ply == 4 ? 2 : 1;
    return ply == 1 || ply == 3 ? 2 : 1;
}

// How many of the opponent's replies (most played first) make the main lines: the four
// great first moves, three answers to each, two replies for a while, then one.
int mainReplyCount(int ply) { return ply == 0 ? 4 : ply == 1 ? 3 : ply <= 5 ? 2 : 1; }

Growth grow(Judge& judge, BookNode& node, GameLine& line, const TheoryNode* theory, bool mainPath);

Growth leaf(Judge& judge, BookNode& node, const GameLine& line, int drops) {
    node.children.clear();
    return {endScore(judge, line) >= worstEnd, drops};
}

// Whether a line may stop here: the source has nothing more, it is long enough, and it ends well.
bool mayStop(Judge& judge, const GameLine& line, const TheoryNode* theory, bool mainPath) {
    const bool sourceGoesOn = theory != nullptr && !theory->children.empty();
    const int wanted = mainPath ? maxBookPlies : sideLinePlies;
    return !sourceGoesOn && static_cast<int>(line.size()) >= wanted && endScore(judge, line) >= worstEnd;
}

BookNode childOf(const BookNode& node, const std::string& move, const TheoryNode* theory) {
    BookNode child{move, node.name, node.sourcePlies, {}};
    if (theory != nullptr) {
        child.sourcePlies = node.sourcePlies + 1;
        if (!theory->name.empty()) child.name = theory->name;
    }
    return child;
}

// Stockfish's best move other than best itself.
std::string secondChoice(Judge& judge, const GameLine& line, const std::string& best) {
    playLine(judge.state, line);
    std::string moves;
    for (const std::string& move : legalMoveTexts(judge.state, line.size() % 2 == 0))
        if (move != best) moves += (moves.empty() ? "" : " ") + move;
    return moves.empty() ? "" : analyse(judge.fish, fenOf(judge, line), moves).best;
}

Growth growEngineMove(Judge& judge, BookNode& node, GameLine& line, const TheoryNode* theory, bool mainPath) {
    const int ply = static_cast<int>(line.size());
    const int width = engineWidth(judge.engineWhite, ply);
    std::vector<std::pair<std::string, const TheoryNode*>> tries;
    if (theory != nullptr)
        for (const TheoryNode& child : theory->children)
            if (static_cast<int>(tries.size()) < theoryTries) tries.emplace_back(child.move, &child);
    auto tried = [&](const std::string& move) {
        return std::any_of(tries.begin(), tries.end(), [&](const auto& t) { return t.first == move; });
    };
    const std::string best = bestOf(judge, line).best;
    if (!best.empty() && best != "(none)" && !tried(best)) tries.emplace_back(best, nullptr);

    std::vector<BookNode> offered;
    std::vector<std::pair<int, BookNode>> withDrops;
    auto offer = [&](const std::string& move, const TheoryNode* source) {
        if (moveLoss(judge, line, move) > maxLoss) return;
        BookNode child = childOf(node, move, source);
        line.push_back(move);
        const Growth growth = grow(judge, child, line, source, mainPath);
        line.pop_back();
        if (!growth.ok) return;
        if (growth.drops == 0)
            offered.push_back(std::move(child));
        else
            withDrops.emplace_back(growth.drops, std::move(child));
    };
    for (size_t i = 0; i < tries.size() && static_cast<int>(offered.size()) < width; ++i) {
        // Stockfish's own move only where the source offers nothing sound, or for variety early on.
        if (tries[i].second == nullptr && !offered.empty() && ply > earlyPlies) break;
        offer(tries[i].first, tries[i].second);
    }
    if (static_cast<int>(offered.size()) < width && ply <= earlyPlies) {
        const std::string second = secondChoice(judge, line, best);
        if (!second.empty() && !tried(second)) offer(second, nullptr);
    }
    // Moves whose lines lost source replies are offered only when nothing better fills the width.
    std::stable_sort(withDrops.begin(), withDrops.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    int drops = 0;
    for (auto& [count, child] : withDrops) {
        if (static_cast<int>(offered.size()) >= width) break;
        offered.push_back(std::move(child));
        drops += count;
    }
    if (offered.empty()) return leaf(judge, node, line, 0);
    node.children = std::move(offered);
    return {true, drops};
}

Growth growReplies(Judge& judge, BookNode& node, GameLine& line, const TheoryNode* theory, bool mainPath) {
    const int ply = static_cast<int>(line.size());
    std::vector<std::pair<std::string, const TheoryNode*>> replies;
    if (theory != nullptr)
        for (const TheoryNode& child : theory->children) replies.emplace_back(child.move, &child);
    if (replies.empty()) {
        const std::string best = bestOf(judge, line).best;
        if (best.empty() || best == "(none)") return leaf(judge, node, line, 0);
        replies.emplace_back(best, nullptr);
    }
    int drops = 0;
    for (size_t rank = 0; rank < replies.size(); ++rank) {
        const auto& [move, source] = replies[rank];
        BookNode child = childOf(node, move, source);
        line.push_back(move);
        const Growth growth = grow(judge, child, line, source, mainPath && static_cast<int>(rank) < mainReplyCount(ply));
        line.pop_back();
        if (growth.ok) {
            node.children.push_back(std::move(child));
            drops += growth.drops;
        } else if (source != nullptr) {
            ++drops;
        }
    }
    if (node.children.empty()) return leaf(judge, node, line, drops);
    return {true, drops};
}

Growth grow(Judge& judge, BookNode& node, GameLine& line, const TheoryNode* theory, bool mainPath) {
    if (static_cast<int>(line.size()) >= maxBookPlies || mayStop(judge, line, theory, mainPath))
        return leaf(judge, node, line, 0);
    const bool engineToMove = (line.size() % 2 == 0) == judge.engineWhite;
    return engineToMove ? growEngineMove(judge, node, line, theory, mainPath)
                        : growReplies(judge, node, line, theory, mainPath);
}

// The lines of the tree in order; a line is main when the opponent keeps to its most
// played replies all along.
void collectLines(const BookNode& node, GameLine& line, bool engineWhite, bool main, std::vector<std::string>& mainLines,
                  std::vector<std::string>& otherLines) {
    if (node.children.empty()) {
        std::string text = joinLine(line, "");
        text += "  \\ " + (node.name.empty() ? std::string("(no source name)") : node.name);
        const int added = static_cast<int>(line.size()) - node.sourcePlies;
        if (added > 0) text += ", +" + std::to_string(added) + " by stockfish";
        (main ? mainLines : otherLines).push_back(text);
        return;
    }
    const int ply = static_cast<int>(line.size());
    const bool engineToMove = (ply % 2 == 0) == engineWhite;
    for (size_t rank = 0; rank < node.children.size(); ++rank) {
        const bool childMain = main && (engineToMove || static_cast<int>(rank) < mainReplyCount(ply));
        line.push_back(node.children[rank].move);
        collectLines(node.children[rank], line, engineWhite, childMain, mainLines, otherLines);
        line.pop_back();
    }
}

}  // namespace

bool buildBook(Judge& judge, const TheoryNode& theory, const std::string& path, BuildSummary& summary) {
    BookNode root{"", theory.name, 0, {}};
    GameLine line;
    const Growth growth = grow(judge, root, line, &theory, true);
    summary.droppedReplies = growth.drops;

    std::vector<std::string> mainLines, otherLines;
    collectLines(root, line, judge.engineWhite, true, mainLines, otherLines);
    if (!growth.ok || mainLines.size() + otherLines.size() + 1 > static_cast<size_t>(bookCapacity)) return false;

    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    std::fprintf(file,
                 "\\ Tamblor's opening book for games in which it plays %s. Generated by tools/bookbuilder:\n"
                 "\\ do not edit by hand. Opening lines from scid.eco of Scid (GPL-2.0, (C) 1999-2003 Shane\n"
                 "\\ Hudson); lines extended and every book move judged by stockfish at depth %d.\n"
                 "\\ First group: the main lines. After \"#\": the lines that leave them.\n",
                 judge.engineWhite ? "White" : "Black", judge.fish.depth);
    for (const std::string& text : mainLines) std::fprintf(file, "%s\n", text.c_str());
    std::fprintf(file, "#\n");
    for (const std::string& text : otherLines) std::fprintf(file, "%s\n", text.c_str());
    return std::fclose(file) == 0;
}
