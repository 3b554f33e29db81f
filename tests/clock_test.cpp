#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "host/host.h"

TEST(Clock, MillisecondsAreTheLow32BitsOfTheExactQuotient) {
    constexpr int64_t kNs = 1000000000, kDayNs = 86400 * kNs;  // a nanosecond counter
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(TicksToMs(1000000, 3579545), 279u);      // 279.37, truncated
    EXPECT_EQ(TicksToMs(-1500000, kNs), 0xFFFFFFFFu);  // -1: toward zero, not down
    EXPECT_EQ(TicksToMs(200 * kDayNs, kNs), static_cast<uint32_t>(17280000000 % 4294967296));
    EXPECT_EQ(TicksToMs(4294967296LL * 1000000 + 5000000, kNs), 5u);  // wrapped after 2^32 ms
    // ticks x 1000 passes the 64-bit range after about 106 days of nanoseconds.
    const int64_t cases[][2] = {
        {kMax / 1000 + 1, kNs}, {200 * kDayNs + 999999999, kNs}, {kMax, kNs},
        {kMax, 3579545},        {kMax / 3, 999999937},           {-kMax, 10000000}};
    for (const auto& c : cases) {
        __extension__ const auto exact = static_cast<__int128>(c[0]) * 1000 / c[1];
        EXPECT_EQ(TicksToMs(c[0], c[1]), static_cast<uint32_t>(exact)) << c[0] << " at " << c[1];
    }
}

TEST(Clock, UptimeCountsElapsedMsStepsForwardAcrossTheWrap) {
    ResetHostClock();
    ElapsedMs = 4294967000u;  // 296 ms before the wrap
    EXPECT_EQ(FoldUptime(), 4294967000u);
    EXPECT_EQ(FoldUptime(), 4294967000u);  // a step is counted once
    ElapsedMs = 704;
    EXPECT_EQ(FoldUptime(), 4294968000u);
    ElapsedMs = 4294967000u;  // a second wrap, read once a day or so
    EXPECT_EQ(FoldUptime(), 2 * 4294967296u - 296);
    ResetHostClock();
    EXPECT_EQ(UptimeMs, 0u);
    EXPECT_EQ(FoldUptime(), 0u);
}
