// Tamblor: a chess engine for GUIs that speak the xboard protocol, version 2.
#include "driver/driver.h"
#include "tamblorwinboard/tamblorwinboard.h"

namespace {
EngineState engineState;  // the one record of the whole engine, zero-filled at start
}

int main() {
    initEngineState(engineState);
    engineState.outputEnabled = true;
    handshake(engineState);
    commandLoop(engineState);
    return 0;
}
