#include <gtest/gtest.h>

#include "blackbox/engine_process.h"

namespace {

TEST(EngineLifecycle, EndOfInputEndsTheEngineWithStatusZero) {
    EngineProcess engine;
    engine.closeInput();
    EXPECT_EQ(engine.waitForExit(), 0);
}

}  // namespace
