// The host's millisecond clock: a monotonic nanosecond counter turned into whole milliseconds.
#include <time.h>

#include "host/host.h"

namespace {
constexpr int64_t kNanosecondsPerSecond = 1000000000;
constexpr int64_t kMsPerSecond = 1000;
constexpr double kSecondsPerMs = 0.001;

uint32_t foldedMs = 0;  // the ElapsedMs already added to UptimeMs; written by FoldUptime
}  // namespace

uint64_t UptimeMs = 0;

uint64_t FoldUptime() {
    UptimeMs += static_cast<uint32_t>(ElapsedMs - foldedMs);  // unsigned: wraps forward
    foldedMs = ElapsedMs;
    return UptimeMs;
}

double UptimeSeconds() {
    return static_cast<double>(FoldUptime()) * kSecondsPerMs;
}

void ResetHostClock() {
    ElapsedMs = 0;
    foldedMs = 0;
    UptimeMs = 0;
}

uint32_t TicksToMs(int64_t ticks, int64_t frequency) {
    // ticks * 1000 overflows 64 bits after about 106 days of nanoseconds. Splitting off the whole
    // seconds first gives the same truncated quotient: both parts share the sign of ticks.
    const int64_t wholeSeconds = ticks / frequency;
    const int64_t remainder = ticks % frequency;
    const int64_t ms = wholeSeconds * kMsPerSecond + remainder * kMsPerSecond / frequency;
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));  // low 32 bits: wraps after 49.7 days
}

int64_t ReadCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

int64_t ReadCounterFrequency() {
    return kNanosecondsPerSecond;
}
