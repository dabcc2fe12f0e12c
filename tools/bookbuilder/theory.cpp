// Opening theory from a classification file: entries of a code, a quoted name and a
// line in standard algebraic notation ended by "*"; lines starting with "#" are
// comments. Each line is replayed from the start with the engine's own rules.
#include <algorithm>
#include <cctype>
#include <fstream>

#include "bookbuilder.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"

namespace {

// Words of the file; a quoted name is one word, kept with its quotes.
std::vector<std::string> readWords(const std::string& path) {
    std::ifstream file(path);
    std::string text, row;
    while (std::getline(file, row))
        if (row.empty() || row[0] != '#') text += row + ' ';
    std::vector<std::string> words;
    for (size_t i = 0; i < text.size();) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text[i] == '"') {
            const size_t end = text.find('"', i + 1);
            if (end == std::string::npos) break;
            words.push_back(text.substr(i, end - i + 1));
            i = end + 1;
        } else {
            size_t end = i;
            while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
            words.push_back(text.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

// The source line as coordinate moves, or false when a move is not legal.
bool readLine(EngineState& state, const std::vector<std::string>& sanMoves, GameLine& line) {
    state.enginePlaysWhite = true;
    state.position = state.startPosition;
    bool whiteToMove = true;
    for (const std::string& san : sanMoves) {
        const std::string text = sanToText(state, san, whiteToMove);
        Move move = textToMove(whiteToMove, text, true);
        if (text.empty() || move == nullMove || !matchLegalMove(state, move, whiteToMove)) return false;
        makeMove(state, move);
        line.push_back(text);
        whiteToMove = !whiteToMove;
    }
    return true;
}

void addLine(TheoryNode& root, const GameLine& line, const std::string& name) {
    TheoryNode* node = &root;
    ++node->lines;
    for (size_t i = 0; i < line.size() && i < maxBookPlies; ++i) {
        auto child = std::find_if(node->children.begin(), node->children.end(),
                                  [&](const TheoryNode& n) { return n.move == line[i]; });
        if (child == node->children.end()) {
            node->children.push_back(TheoryNode{line[i], 0, "", {}});
            child = node->children.end() - 1;
        }
        node = &*child;
        ++node->lines;
    }
    if (node->name.empty() && line.size() <= maxBookPlies) node->name = name;
}

void sortByLines(TheoryNode& node) {
    std::stable_sort(node.children.begin(), node.children.end(),
                     [](const TheoryNode& a, const TheoryNode& b) { return a.lines > b.lines; });
    for (TheoryNode& child : node.children) sortByLines(child);
}

}  // namespace

TheoryNode readTheory(const std::string& path, EngineState& state, TheorySummary& summary) {
    const std::vector<std::string> words = readWords(path);
    TheoryNode root;
    for (size_t i = 0; i + 1 < words.size();) {
        const std::string name = words[i] + ' ' + words[i + 1].substr(1, words[i + 1].size() - 2);
        std::vector<std::string> sanMoves;
        for (i += 2; i < words.size() && words[i] != "*"; ++i) {
            std::string san = words[i];
            san.erase(0, san.find_first_not_of("0123456789."));
            if (!san.empty()) sanMoves.push_back(san);
        }
        ++i;
        ++summary.read;
        GameLine line;
        if (readLine(state, sanMoves, line))
            addLine(root, line, name);
        else
            ++summary.rejected;
    }
    sortByLines(root);
    return root;
}
