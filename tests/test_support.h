#pragma once
// A freshly initialised engine state on the heap (the record is too large for a
// test's stack), as the engine has it right after start-up.
#include <memory>

#include "tamblorvars/tamblorvars.h"

inline std::unique_ptr<EngineState> makeEngineState() {
    auto state = std::make_unique<EngineState>();
    initEngineState(*state);
    return state;
}
