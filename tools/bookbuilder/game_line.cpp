// Game lines replayed with the engine's own move rules, in the game's orientation, and
// standard algebraic notation read by matching it against the engine's legal moves.
#include <cctype>

#include "bookbuilder.h"
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorboek/tamblorboek.h"

namespace {

std::vector<Move> legalMoves(EngineState& state, bool whiteToMove) {
    Move legal[moveListCapacity];
    return std::vector<Move>(legal, legal + generateLegalMoves(state, whiteToMove, legal));
}

char pieceLetter(std::uint8_t piece) { return "PNBRQK"[piece / 4]; }

}  // namespace

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string lowerText(Move move, bool white) { return lowerCase(std::string(moveToText(move, white).view())); }

LinePosition playLine(EngineState& state, const GameLine& line) {
    state.enginePlaysWhite = true;
    state.position = state.startPosition;
    LinePosition at{true, true, 0};
    for (const std::string& text : line) {
        Move move = textToMove(at.whiteToMove, text, true);
        if (move == nullMove || !matchLegalMove(state, move, at.whiteToMove)) {
            at.legal = false;
            return at;
        }
        const std::uint8_t piece = state.position.squares[moveFrom(move)];
        const bool reversible = piece / 4 != 0 && moveKind(move) < kindEnPassant;
        at.reversibleMoves = reversible ? at.reversibleMoves + 1 : 0;
        makeMove(state, move);
        at.whiteToMove = !at.whiteToMove;
    }
    return at;
}

std::string positionFen(const EngineState& state, const LinePosition& at, int ply) {
    const Position& p = state.position;
    const std::uint8_t* b = p.squares;
    std::string fen;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const std::uint8_t piece = b[10 * (rank + 1) + file];
            if (piece == emptySquare) {
                ++empty;
                continue;
            }
            if (empty > 0) fen += static_cast<char>('0' + empty);
            empty = 0;
            const char letter = pieceLetter(piece);
            fen += (piece & 1) ? letter : static_cast<char>(std::tolower(letter));
        }
        if (empty > 0) fen += static_cast<char>('0' + empty);
        if (rank > 1) fen += '/';
    }
    fen += at.whiteToMove ? " w " : " b ";
    // A right is written only with king and rook at home, as every reader expects.
    std::string castling;
    if ((p.whiteCastling & kingSideRight) && b[25] == whiteKing && b[28] == whiteRook) castling += 'K';
    if ((p.whiteCastling & queenSideRight) && b[25] == whiteKing && b[21] == whiteRook) castling += 'Q';
    if ((p.blackCastling & kingSideRight) && b[95] == blackKing && b[98] == blackRook) castling += 'k';
    if ((p.blackCastling & queenSideRight) && b[95] == blackKing && b[91] == blackRook) castling += 'q';
    fen += castling.empty() ? "-" : castling;
    if (p.enPassantPawn != 0) {
        const int passed = p.enPassantPawn + (b[p.enPassantPawn] == whitePawn ? -10 : 10);
        fen += ' ';
        fen += static_cast<char>('a' + passed % 10 - 1);
        fen += static_cast<char>('0' + passed / 10 - 1);
    } else {
        fen += " -";
    }
    fen += ' ' + std::to_string(at.reversibleMoves) + ' ' + std::to_string(ply / 2 + 1);
    return fen;
}

std::vector<std::string> legalMoveTexts(EngineState& state, bool whiteToMove) {
    std::vector<std::string> texts;
    for (Move move : legalMoves(state, whiteToMove)) texts.push_back(lowerText(move, true));
    return texts;
}

std::string sanToText(EngineState& state, const std::string& san, bool whiteToMove) {
    std::string s = san;
    while (!s.empty() && std::string("+#!?").find(s.back()) != std::string::npos) s.pop_back();
    if (s.find('=') != std::string::npos) return "";
    const std::string homeRank = whiteToMove ? "1" : "8";
    if (s == "O-O" || s == "0-0") s = "K" + std::string("g") + homeRank;
    if (s == "O-O-O" || s == "0-0-0") s = "K" + std::string("c") + homeRank;
    const char piece = std::string("NBRQK").find(s.empty() ? ' ' : s[0]) != std::string::npos ? s[0] : 'P';
    const std::string body = piece == 'P' ? s : s.substr(1);
    if (body.size() < 2) return "";
    const std::string target = body.substr(body.size() - 2);
    std::string hints;
    for (char c : body.substr(0, body.size() - 2))
        if (c != 'x') hints += c;

    std::string found;
    int matches = 0;
    for (Move move : legalMoves(state, whiteToMove)) {
        const std::string text = lowerText(move, true);
        if (text.size() != 4 || text.substr(2) != target) continue;
        if (pieceLetter(state.position.squares[moveFrom(move)]) != piece) continue;
        bool fits = true;
        for (char c : hints) fits = fits && (c == text[0] || c == text[1]);
        if (fits) {
            found = text;
            ++matches;
        }
    }
    return matches == 1 ? found : "";
}

std::string joinLine(const GameLine& line, const char* separator) {
    std::string text;
    for (const std::string& move : line) text += (text.empty() ? "" : separator) + move;
    return text;
}
