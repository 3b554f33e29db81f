// The host's millisecond clock: a monotonic counter read once per frame and turned into the
// uptime, of which ElapsedMs is the low 32 bits. SetUptimeMs is the clock's only writer.
#pragma once

#include <cstdint>

constexpr int64_t kNanosecondsPerSecond = 1000000000;

// Whole milliseconds in `ticks` of a counter running at `frequency` ticks a second, truncated
// toward zero, exact for any tick count (0 for a negative one: a counter read before the start).
uint64_t TicksToUptimeMs(int64_t ticks, int64_t frequency);

// Sets the clock: UptimeMs to `ms` and ElapsedMs to its low 32 bits. DrawFrame calls it once per
// frame; tests and the benchmark call it to set the time instead of waiting for it.
void SetUptimeMs(uint64_t ms);

// The uptime in seconds: whole milliseconds in a double, exact for far longer than any run. Reads
// only.
double UptimeSeconds();

// The monotonic counter the clock reads, and its rate.
int64_t ReadCounter();
int64_t ReadCounterFrequency();
