// Frame pacing: the pure arithmetic of when the next frame is due and the sleep that waits for it.
#include "host/pacing.h"

#include <time.h>

#include <cerrno>

#include "host/clock.h"
#include "host/host_state.h"

namespace {
void SleepTicks(int64_t ticks, int64_t frequency) {
    if (ticks <= 0 || frequency <= 0) return;
    // ticks < frequency here, so the product stays far inside 64 bits.
    const int64_t ns = ticks * kNanosecondsPerSecond / frequency;
    timespec left{static_cast<time_t>(ns / kNanosecondsPerSecond),
                  static_cast<long>(ns % kNanosecondsPerSecond)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
}  // namespace

FramePace PaceFrame(int64_t frameDue, int64_t now, int64_t frequency, int maxFps) {
    if (maxFps <= 0) return {0, now};
    const int64_t period = (frequency + maxFps - 1) / maxFps;  // rounded up: never above the cap
    const int64_t nextDue = frameDue + period;
    if (now >= nextDue) return {0, now};
    // A due time further off than one period can only come from a clock that stepped back.
    if (nextDue - now > period) return {period, now + period};
    return {nextDue - now, nextDue};
}

void WaitForNextFrame() {
    if (hostOptions.maxFps <= 0) return;
    const FramePace pace =
        PaceFrame(NextFrameDue, ReadCounter(), CounterFrequency, hostOptions.maxFps);
    SleepTicks(pace.wait, CounterFrequency);
    NextFrameDue = pace.nextDue;
}
