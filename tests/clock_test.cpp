#include <gtest/gtest.h>

#include "host/host.h"

TEST(Clock, Placeholder) {
    EXPECT_EQ(TicksToMs(1000000, 3579545), 279u);
}
