// The host's millisecond clock: a monotonic nanosecond counter turned into whole milliseconds.
#include "host/clock.h"

#include <time.h>

#include "common/widths.h"
#include "host/host_state.h"

namespace {
constexpr int64_t kMsPerSecond = 1000;
}  // namespace

uint64_t TicksToUptimeMs(int64_t ticks, int64_t frequency) {
    if (ticks <= 0 || frequency <= 0) return 0;
    // ticks * 1000 overflows 64 bits after about 106 days of nanoseconds. Splitting off the whole
    // seconds first gives the same truncated quotient.
    const int64_t wholeSeconds = ticks / frequency;
    const int64_t remainder = ticks % frequency;
    return static_cast<uint64_t>(wholeSeconds) * kMsPerSecond +
           static_cast<uint64_t>(remainder * kMsPerSecond / frequency);
}

void SetUptimeMs(uint64_t ms) {
    UptimeMs = ms;
    ElapsedMs = Low32(ms);  // wraps after 49.7 days; the uptime does not
}

double UptimeSeconds() {
    return MsToSeconds(UptimeMs);
}

int64_t ReadCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

int64_t ReadCounterFrequency() {
    return kNanosecondsPerSecond;
}
