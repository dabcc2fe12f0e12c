// Moves to coordinate text and back. This is one of the few places that know the
// stored board may be the game board turned upside down: `white` says which.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// Two characters per square from 21 to 98; the frame columns between ranks read "99".
constexpr std::string_view whiteSquareNames =
    "A1B1C1D1E1F1G1H19999A2B2C2D2E2F2G2H29999A3B3C3D3E3F3G3H39999A4B4C4D4E4F4G4H49999"
    "A5B5C5D5E5F5G5H59999A6B6C6D6E6F6G6H69999A7B7C7D7E7F7G7H79999A8B8C8D8E8F8G8H8";
constexpr std::string_view blackSquareNames =
    "A8B8C8D8E8F8G8H89999A7B7C7D7E7F7G7H79999A6B6C6D6E6F6G6H69999A5B5C5D5E5F5G5H59999"
    "A4B4C4D4E4F4G4H49999A3B3C3D3E3F3G3H39999A2B2C2D2E2F2G2H29999A1B1C1D1E1F1G1H1";
static_assert(whiteSquareNames.size() == 156 && blackSquareNames.size() == 156);

std::string_view squareName(int square, bool white) {
    if (square < 21 || square > 98) return "99";
    return (white ? whiteSquareNames : blackSquareNames).substr(static_cast<size_t>(2 * (square - 21)), 2);
}

char promotionLetter(int piece) {
    switch (piece) {
        case whiteKnight: case blackKnight: return 'N';
        case whiteBishop: case blackBishop: return 'B';
        case whiteRook: case blackRook: return 'R';
        case whiteQueen: case blackQueen: return 'Q';
        default: return '\0';
    }
}

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

int promotionPiece(char letter, bool moverIsWhite) {
    int piece = 0;
    switch (letter) {
        case 'B': piece = whiteBishop; break;
        case 'N': piece = whiteKnight; break;
        case 'Q': piece = whiteQueen; break;
        case 'R': piece = whiteRook; break;
        default: return 0;
    }
    return moverIsWhite ? piece : piece + 1;
}

}  // namespace

MoveText moveToText(Move move, bool white) {
    MoveText text;
    if (move == nullMove) {
        text.assign("NULL");
        return text;
    }
    text.append(squareName(moveFrom(move), white));
    text.append(squareName(moveTo(move), white));
    if (const char letter = promotionLetter(movePromotion(move))) text.append(letter);
    return text;
}

ThinkingMoveText moveToThinkingText(Move move, bool white) {
    const MoveText plain = moveToText(move, white);
    ThinkingMoveText text(plain.view());
    if (move == nullMove || plain.view().find("99") != std::string_view::npos) return text;
    text.clear();
    text.append(lowerCase(plain[0]));
    text.append(lowerCase(plain[1]));
    if (moveKind(move) >= kindEnPassant) text.append('x');
    text.append(lowerCase(plain[2]));
    text.append(lowerCase(plain[3]));
    if (plain.length == 5) text.append(plain[4]);  // the promotion letter stays upper case
    return text;
}

int squareFromText(std::string_view text, bool white) {
    const LineText name = normaliseLine(text);
    if (name.length != 2) return 0;
    const char letter = name[0], digit = name[1];
    // Only a file letter and a rank digit name a square: "K1" must not wrap to a2.
    if (letter < 'A' || letter > 'H' || digit < '1' || digit > '8') return 0;
    const int rank = white ? digit - '0' : '9' - digit;
    return 10 * (rank + 1) + (letter - '@');
}

Move textToMove(bool moverIsWhite, std::string_view text, bool white) {
    const LineText line = normaliseLine(text);
    if (line.length < 4) return nullMove;
    const int from = squareFromText(line.slice(1, 2), white);
    const int to = squareFromText(line.slice(3, 4), white);
    if (from == 0 || to == 0) return nullMove;
    // The last character decides, so both e7e8q and e7e8=Q promote.
    const int promotion = line.length > 4 ? promotionPiece(line[line.length - 1], moverIsWhite) : 0;
    return makeMoveWord(from, to, kindQuiet, promotion);
}
