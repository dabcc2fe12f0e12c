// How far a move extends the search below it, and how much a late move is reduced.
// Weights are eighths of a ply: 8 for answering a check (or a check that leaves the king
// at most one flight), 4 for taking a piece and a few other forcing moves.
#include "tamblorbasis/tamblorbasis.h"
#include "tamblortopply1/tamblortopply1.h"

namespace {

constexpr int middleGamePieces = 1725;

// Whether a pawn of the other colour stands ahead of this pawn or on a file beside it,
// up to the last rank before promotion: a passed pawn has none.
bool isPassed(const std::uint8_t* squares, int to, bool white) {
    if (white) {
        for (int s = to + 10; s < 91; s += 10)
            if (squares[s - 1] == blackPawn || squares[s] == blackPawn || squares[s + 1] == blackPawn) return false;
    } else {
        for (int s = to - 10; s > 28; s -= 10)
            if (squares[s - 1] == whitePawn || squares[s] == whitePawn || squares[s + 1] == whitePawn) return false;
    }
    return true;
}

// A pawn, knight or bishop of the given colour attacks the square.
bool attackedByMinorOrPawn(const EngineState& state, int square, bool byWhite, bool pawnsOnly) {
    const std::uint8_t* b = state.position.squares;
    if (byWhite ? b[square - 9] == whitePawn || b[square - 11] == whitePawn
                : b[square + 9] == blackPawn || b[square + 11] == blackPawn)
        return true;
    if (pawnsOnly) return false;
    const int knight = byWhite ? whiteKnight : blackKnight;
    for (int offset : state.knightOffsets)
        if (b[square + offset] == knight) return true;
    const int bishop = byWhite ? whiteBishop : blackBishop;
    for (int step : {9, -9, 11, -11}) {
        int s = square + step;
        while (b[s] == emptySquare) s += step;
        if (b[s] == bishop) return true;
    }
    return false;
}

// The piece on `square` can be taken with profit: attacked and either undefended or
// attacked by something cheaper.
bool standsEnPrise(const EngineState& state, int square, int piece) {
    const bool white = (piece & 1) != 0;
    if (!isSquareAttacked(state, square, !white)) return false;
    if (!isSquareAttacked(state, square, white)) return true;
    return attackedByMinorOrPawn(state, square, !white, state.pieceClass[piece] <= 2);
}

// The moved piece bears on the squares around the enemy king.
bool threatensKingZone(const EngineState& state, Move move, int piece) {
    const bool white = (piece & 1) != 0;
    const std::uint8_t* b = state.position.squares;
    const int king = white ? state.position.blackKingSquare : state.position.whiteKingSquare;
    const int zone = state.inwardSquare[king];
    const int to = moveTo(move);
    switch (piece >> 2) {
        case 0:
            return state.squareDistance[to][zone] <= 2 &&
                   (white ? state.rankOf[to] <= state.rankOf[zone] : state.rankOf[to] >= state.rankOf[zone]);
        case 1: return state.squareDistance[to][zone] <= 3;
        case 5: return state.squareDistance[to][zone] <= 2;
        default: break;
    }
    const auto& lines = (piece >> 2) == 2 ? state.bishopDirection
                        : (piece >> 2) == 3 ? state.rookDirection
                                            : state.queenDirection;
    const int travelled = state.queenDirection[moveFrom(move)][to];
    for (int offset : state.kingOffsets) {
        const int target = king + offset;
        if (state.emptyBoard.squares[target] != emptySquare) continue;
        const int step = lines[to][target];
        if (step == 0 || step == travelled || step == -travelled) continue;
        int s = to + step;
        while (s != target && !isPawn(b[s])) s += step;
        if (s == target) return true;
    }
    return false;
}

int pieceWeight(const EngineState& state, const NodeFrame& frame, int piece) {
    const NodeState& n = frame.node;
    const Move move = frame.move;
    const int to = moveTo(move);
    const bool white = (piece & 1) != 0;
    const int own = white ? n.whitePieceMaterial : n.blackPieceMaterial;
    const bool quiet = moveKind(move) == kindQuiet && movePromotion(move) == 0;
    switch (piece >> 2) {
        case 0:
            if (white ? to < 51 : to > 68) return 0;
            return isPassed(state.position.squares, to, white) ? 4 : 0;
        case 1:
            if (moveKind(move) == kindCapture) return 4;
            return movePromotion(move) == 0 && own <= middleGamePieces && standsEnPrise(state, to, piece) ? 4 : 0;
        case 2:
        case 3: return quiet && own <= middleGamePieces && standsEnPrise(state, to, piece) ? 4 : 0;
        case 4: {
            const int enemyKing = white ? state.position.blackKingSquare : state.position.whiteKingSquare;
            return own > middleGamePieces && state.squareDistance[to][state.inwardSquare[enemyKing]] <= 2 ? 4 : 0;
        }
        default: return n.whitePieceMaterial == 0 && n.blackPieceMaterial == 0 ? 4 : 0;
    }
}

}  // namespace

int checkExtensionWeight(const EngineState& state, const NodeFrame& frame) {
    return state.plyInfo[state.ply].inCheck > 0 || (frame.inCheck && kingHasFewFlights(state, 1)) ? 8 : 0;
}

int extensionWeight(EngineState& state, NodeFrame& frame, int captured) {
    const int ply = state.ply;
    const Move move = frame.move;
    const int piece = state.position.squares[moveTo(move)];
    NodeState& n = frame.node;

    int weight = checkExtensionWeight(state, frame);
    if (weight == 0 && captured != emptySquare && !isPawn(captured)) weight = 4;
    if (weight == 0) {
        weight = pieceWeight(state, frame, piece);
        // An early queen sortie, and a king tucked into its corner next to the root.
        if (moveKind(move) == kindQuiet && !frame.inCheck) {
            if (piece == whiteQueen && state.whiteEarlyQueen) n.positionalTerm -= 5;
            if (piece == blackQueen && state.blackEarlyQueen) n.positionalTerm += 5;
            if (piece == whiteKing && ply == 2 && (moveTo(move) == 21 || moveTo(move) == 28)) n.positionalTerm -= 2;
        }
    }

    if (state.plyInfo[ply].firstMoveDone == 0) return weight;
    // A late move: reduced, and a little worse for the side that played it.
    const int r = frame.remaining;
    const int parentBalance = n.reductionBalance[(ply - 1) & 1];
    const int ownBalance = n.reductionBalance[ply & 1];
    if (parentBalance < 0 || (r > 2 && ownBalance >= 0 && !frame.inCheck)) frame.reduction = 1;
    if (ply & 1)
        n.positionalTerm += 5;
    else if (ply > 2)
        n.positionalTerm -= 5;
    if (ply > 2 && ply <= 8 && r > 2 && parentBalance >= 0 && weight == 0 && moveKind(move) == kindQuiet &&
        !frame.inCheck && movePromotion(move) == 0 &&
        ((piece >> 2) == 4 || !threatensKingZone(state, move, piece)))
        frame.reduction += 1;
    return weight;
}

void creditExtension(NodeFrame& frame, int weight) {
    NodeState& n = frame.node;
    n.extensionCredit += weight;
    if (n.extensionCredit > 0) {
        n.extensionCredit -= 8;
        frame.remaining += 1;
        n.extensionBudget -= 1;
    }
}
