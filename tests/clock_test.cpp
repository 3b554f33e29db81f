// The host's clock: counter ticks to whole milliseconds, exact for any run length, and the one
// writer that sets the uptime and its 32-bit view.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "host/clock.h"
#include "host/host_state.h"

TEST(Clock, MillisecondsAreTheExactTruncatedQuotient) {
    constexpr int64_t kNs = 1000000000, kDayNs = 86400 * kNs;  // a nanosecond counter
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(TicksToUptimeMs(1000000, 3579545), 279u);  // 279.37, truncated
    EXPECT_EQ(TicksToUptimeMs(-1500000, kNs), 0u);       // before the start: nothing yet
    EXPECT_EQ(TicksToUptimeMs(200 * kDayNs, kNs), 17280000000u);
    // ticks x 1000 passes the 64-bit range after about 106 days of nanoseconds.
    const int64_t cases[][2] = {
        {kMax / 1000 + 1, kNs}, {200 * kDayNs + 999999999, kNs}, {kMax, kNs},
        {kMax, 3579545},        {kMax / 3, 999999937},           {1, 10000000}};
    for (const auto& c : cases) {
        __extension__ const auto exact = static_cast<__int128>(c[0]) * 1000 / c[1];
        EXPECT_EQ(TicksToUptimeMs(c[0], c[1]), static_cast<uint64_t>(exact))
            << c[0] << " at " << c[1];
    }
}

TEST(Clock, ElapsedMsIsTheUptimesLow32BitsAndReadingWritesNothing) {
    ResetHostState();
    SetUptimeMs(4294967000u);  // 296 ms before the wrap
    EXPECT_EQ(ElapsedMs, 4294967000u);
    SetUptimeMs(4294968000u);
    EXPECT_EQ(ElapsedMs, 704u);
    EXPECT_EQ(UptimeSeconds(), 4294968.0);
    EXPECT_EQ(UptimeSeconds(), 4294968.0);
    EXPECT_EQ(UptimeMs, 4294968000u) << "reading the time changed it";
    SetUptimeMs(2 * 4294967296u - 296);  // a second wrap
    EXPECT_EQ(ElapsedMs, 4294967000u);
    ResetHostState();
    EXPECT_EQ(UptimeMs, 0u);
    EXPECT_EQ(ElapsedMs, 0u);
}
