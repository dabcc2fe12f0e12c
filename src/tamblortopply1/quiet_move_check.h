#pragma once
// Legality and check of a plain quiet move judged before it is made, for the children the
// search cuts without playing their move.
#include "tamblorvars/tamblorvars.h"

// True when the move (no capture, no promotion, by a piece other than the king, from a
// position where the mover is not in check) leaves the mover's king safe and gives no
// check: what isLegalAfterMove and updateCheckFlag would find once it was made. False
// when it is not so, or not a move of that kind.
bool isSafeSilentQuietMove(const EngineState& state, Move move, bool moverIsWhite);
