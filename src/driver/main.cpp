// Tamblor: a chess engine for GUIs that speak the xboard protocol, version 2, or UCI.
#include "driver/driver.h"
#include "tamblorboek/tamblorboek.h"
#include "tambloruci/tambloruci.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {
EngineState engineState;  // the one record of the whole engine, zero-filled at start
}

int main() {
    initEngineState(engineState);
    engineState.outputEnabled = true;
    loadBook(engineState);
    // The traffic log, when open, names the first line of each book.
    logLine(engineState, "", whiteBook.entries[0]);
    logLine(engineState, "", blackBook.entries[0]);
    // A GUI that opens with "uci" speaks UCI for the whole run; any other first line is
    // left pending for the xboard handshake, which reads it as before.
    while (!inputAvailable(false)) {
    }
    if (normaliseLine(inputLine).view() == "UCI") {
        inputLine.clear();
        uciLoop(engineState);
        return 0;
    }
    handshake(engineState);
    commandLoop(engineState);
    return 0;
}
