#include "tamblorvars/tamblorvars.h"

static EngineState engineState;

int main() {
    initEngineState(engineState);
    return 0;
}
