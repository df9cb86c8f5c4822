#include "system/out_of_memory.h"

#include <gtest/gtest.h>

namespace {

TEST(OutOfMemoryDeathTest, EndsTheProcessWithAMessage) {
    EXPECT_DEATH(out_of_memory(), "out of memory");
}

}  // namespace
