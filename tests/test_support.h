#pragma once
// A test with a freshly initialised engine state on the heap (the record is too large for
// a test's stack), as the engine has it right after start-up.
#include <gtest/gtest.h>

#include <memory>

#include "tamblorvars/tamblorvars.h"

class EngineTest : public ::testing::Test {
protected:
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    EngineState& st = (initEngineState(*state), *state);
};
