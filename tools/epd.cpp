// epd <file.epd> [seconds]
// Searches every position of a test suite (EPD with "bm" best moves in SAN) for about the
// given time and counts the positions where the engine's move is one of the best moves.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tamblorbasis/tamblorbasis.h"
#include "tamblorhash/tamblorhash.h"
#include "tamblorlowhash/tamblorlowhash.h"
#include "tamblortop/tamblortop.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// The move in short algebraic notation, without check marks, as the suite writes it.
std::string sanOf(EngineState& state, Move move) {
    static const char letters[] = "PNBRQK";
    const std::string text(moveToText(move, state.enginePlaysWhite).view());
    const int piece = state.position.squares[moveFrom(move)];
    const int type = piece >> 2;
    if (moveKind(move) == kindCastling) return moveTo(move) % 10 == 7 ? "O-O" : "O-O-O";
    const bool capture = moveKind(move) == kindCapture || moveKind(move) == kindEnPassant;
    std::string san;
    if (type == 0) {
        if (capture) san += static_cast<char>(std::tolower(text[0]));
    } else {
        san += letters[type];
        // Another piece of the same kind that can go there asks for the file or rank.
        bool sameFile = false, sameRank = false, other = false;
        Move legal[moveListCapacity];
        const int count = generateLegalMoves(state, true, legal);
        for (const Move* e = legal; e < legal + count; ++e) {
            if (moveTo(*e) != moveTo(move) || moveFrom(*e) == moveFrom(move)) continue;
            if (state.position.squares[moveFrom(*e)] != piece) continue;
            other = true;
            sameFile |= moveFrom(*e) % 10 == moveFrom(move) % 10;
            sameRank |= moveFrom(*e) / 10 == moveFrom(move) / 10;
        }
        if (other && !sameFile) san += static_cast<char>(std::tolower(text[0]));
        else if (other && !sameRank) san += text[1];
        else if (other) san += std::string(1, static_cast<char>(std::tolower(text[0]))) + text[1];
    }
    if (capture) san += 'x';
    san += static_cast<char>(std::tolower(text[2]));
    san += text[3];
    if (text.size() > 4) san += std::string("=") + text[4];
    return san;
}

std::string withoutCheckMarks(std::string san) {
    while (!san.empty() && (san.back() == '+' || san.back() == '#' || san.back() == ';')) san.pop_back();
    return san;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: epd <file.epd> [seconds]\n");
        return 2;
    }
    const double seconds = argc == 3 ? std::atof(argv[2]) : 1.0;
    std::ifstream file(argv[1]);
    if (!file) {
        std::fprintf(stderr, "epd: cannot read %s\n", argv[1]);
        return 1;
    }
    auto owner = std::make_unique<EngineState>();
    EngineState& state = *owner;
    initEngineState(state);
    state.outputEnabled = false;  // silent, and no input polling

    int total = 0, solved = 0;
    std::string line;
    while (std::getline(file, line)) {
        const auto bm = line.find(" bm ");
        if (bm == std::string::npos) continue;
        const std::string fen = line.substr(0, bm);
        std::istringstream best(line.substr(bm + 4, line.find(';', bm) - bm - 4));
        std::vector<std::string> bestMoves;
        for (std::string san; best >> san;) bestMoves.push_back(withoutCheckMarks(san));
        if (!parsePositionText(false, fen, state) || !isPlayablePosition(state, true)) continue;

        recordGamePosition(state, state.position, state.startMove, true, castlingByte(state.position));
        state.lastGameMove = -1;
        state.movesPerControl = 0;
        state.clock = (40 * seconds + 1) * second;  // a target of the given time
        clearMainTable();
        clearScoreTable();
        think(state, nullMove);
        ++total;
        const std::string played = state.pv[1] == nullMove ? "none" : sanOf(state, state.pv[1]);
        bool hit = false;
        for (const std::string& san : bestMoves) hit |= san == played;
        solved += hit;
        const auto id = line.find("id \"");
        std::printf("%-10s %-8s %-7s %s\n", id == std::string::npos ? "" : line.substr(id + 4, line.find('"', id + 4) - id - 4).c_str(),
                    played.c_str(), hit ? "ok" : "miss", line.substr(bm + 4, line.find(';', bm) - bm - 4).c_str());
        std::fflush(stdout);
    }
    std::printf("solved %d of %d\n", solved, total);
    return 0;
}
