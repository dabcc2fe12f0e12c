// Position set-up from the text of a FEN or EPD line, and the checks that make a
// set-up position safe to search.
#include "tamblorbasis/tamblorbasis.h"

namespace {

constexpr auto notFound = std::string_view::npos;

std::string_view cutBefore(std::string_view text, std::string_view mark) {
    const size_t at = text.find(mark);
    return at == notFound ? text : text.substr(0, at);
}

// The stored White code of a FEN piece letter (upper or lower case), 0 for others.
int whiteCodeOf(char letter) {
    switch (letter | 0x20) {
        case 'p': return whitePawn;
        case 'n': return whiteKnight;
        case 'b': return whiteBishop;
        case 'r': return whiteRook;
        case 'q': return whiteQueen;
        case 'k': return whiteKing;
        default: return 0;
    }
}

void readCastling(std::string_view rest, Position& p, bool enginePlaysWhite) {
    // The game's White rights belong to the stored Black when the engine plays Black.
    std::uint8_t& gameWhite = enginePlaysWhite ? p.whiteCastling : p.blackCastling;
    std::uint8_t& gameBlack = enginePlaysWhite ? p.blackCastling : p.whiteCastling;
    if (rest.find('K') != notFound) gameWhite += kingSideRight;
    if (rest.find('Q') != notFound) gameWhite += queenSideRight;
    if (rest.find('k') != notFound) gameBlack += kingSideRight;
    if (rest.find('q') != notFound) gameBlack += queenSideRight;
}

// A right is worth keeping only while king and rook stand at home; the home squares
// are the same under both orientations because the start position is symmetric.
void dropHomelessCastling(Position& p) {
    if (p.squares[25] != whiteKing) p.whiteCastling = 0;
    if (p.squares[28] != whiteRook) p.whiteCastling &= ~kingSideRight;
    if (p.squares[21] != whiteRook) p.whiteCastling &= ~queenSideRight;
    if (p.squares[95] != blackKing) p.blackCastling = 0;
    if (p.squares[98] != blackRook) p.blackCastling &= ~kingSideRight;
    if (p.squares[91] != blackRook) p.blackCastling &= ~queenSideRight;
}

bool readPlacement(std::string_view placement, Position& p, bool enginePlaysWhite) {
    // Text rank 8 comes first: stored rank 8 normally, stored rank 1 when turned round.
    int rankStart = enginePlaysWhite ? 90 : 20;
    const int nextRank = enginePlaysWhite ? -10 : 10;
    int cursor = rankStart;
    for (const char c : placement) {
        if (c == '/') {
            rankStart += nextRank;
            cursor = rankStart;
        } else if (const int whiteCode = whiteCodeOf(c)) {
            const int square = cursor + 1;
            if (isOffBoard(square)) return false;
            const bool gameWhite = c >= 'A' && c <= 'Z';
            const bool storedWhite = gameWhite == enginePlaysWhite;
            p.squares[square] = static_cast<std::uint8_t>(storedWhite ? whiteCode : whiteCode + 1);
            if (whiteCode == whiteKing)
                (storedWhite ? p.whiteKingSquare : p.blackKingSquare) = static_cast<std::uint8_t>(square);
            cursor = square;
        } else if (c >= '1' && c <= '8') {
            cursor += c - '0';
        }
    }
    return true;
}

// Only a pawn that stands beside an enemy pawn is entered: that is when the capture exists.
// The square passed over must be empty, or the capture would land on a piece and erase it.
void readEnPassant(std::string_view rest, Position& p, bool opponentToMove, bool enginePlaysWhite) {
    const int firstCandidate = opponentToMove ? 51 : 61;
    const std::uint8_t victim = opponentToMove ? whitePawn : blackPawn;
    const std::uint8_t captor = opponentToMove ? blackPawn : whitePawn;
    const int passedOffset = opponentToMove ? -10 : 10;
    for (int pawn = firstCandidate; pawn < firstCandidate + 8; ++pawn) {
        if (p.squares[pawn] != victim) continue;
        if (p.squares[pawn - 1] != captor && p.squares[pawn + 1] != captor) continue;
        const int passed = pawn + passedOffset;
        if (p.squares[passed] != emptySquare) continue;
        const int storedRank = passed / 10 - 1;
        const char name[2] = {static_cast<char>('a' + passed % 10 - 1),
                              static_cast<char>('0' + (enginePlaysWhite ? storedRank : 9 - storedRank))};
        if (rest.find(std::string_view(name, 2)) != notFound) {
            p.enPassantPawn = static_cast<std::uint8_t>(pawn);
            return;
        }
    }
}

}  // namespace

bool parsePositionText(bool opponentToMove, std::string_view text, EngineState& state) {
    // EPD operations (avoid move, best move and all behind them) are not part of the position.
    text = cutBefore(text, ";");
    text = cutBefore(text, "am");
    text = cutBefore(text, "bm");

    size_t side = text.find(" w ");
    const bool whiteToMove = side != notFound;
    if (!whiteToMove) side = text.find(" b ");
    if (side == notFound) return false;

    state.enginePlaysWhite = whiteToMove != opponentToMove;
    const std::string_view placement = text.substr(0, side);
    const std::string_view rest = text.substr(side + 2);

    Position& p = state.position;
    p = state.emptyBoard;
    p.whiteCastling = p.blackCastling = p.enPassantPawn = 0;
    readCastling(rest, p, state.enginePlaysWhite);
    if (!readPlacement(placement, p, state.enginePlaysWhite)) return false;
    dropHomelessCastling(p);
    readEnPassant(rest, p, opponentToMove, state.enginePlaysWhite);
    return true;
}

bool isPlayablePosition(const EngineState& state, bool whiteToMove) {
    const Position& p = state.position;
    int whiteKings = 0, blackKings = 0, whitePieces = 0, blackPieces = 0;
    int whiteKingAt = 0, blackKingAt = 0;
    for (int square = 21; square <= 98; ++square) {
        const int value = p.squares[square];
        if (isOffBoard(square) || value == emptySquare) continue;
        if ((value == whitePawn || value == blackPawn) && (square < 31 || square > 90)) return false;
        if (value & 1) {
            ++whitePieces;
            if (value == whiteKing) {
                ++whiteKings;
                whiteKingAt = square;
            }
        } else {
            ++blackPieces;
            if (value == blackKing) {
                ++blackKings;
                blackKingAt = square;
            }
        }
    }
    if (whiteKings != 1 || blackKings != 1) return false;
    // A king that digits carried into a later rank may have been covered there by another
    // piece; its entry must still name the square where the one king stands.
    if (p.whiteKingSquare != whiteKingAt || p.blackKingSquare != blackKingAt) return false;
    // The move lists are sized for at most 16 pieces a side.
    if (whitePieces > 16 || blackPieces > 16) return false;
    // A side that could take the enemy king at once is not a position of a real game.
    return whiteToMove ? !isSquareAttacked(state, blackKingAt, true)
                       : !isSquareAttacked(state, whiteKingAt, false);
}
