// Frame pacing, the same for both hosts: frames start at most --max-fps times a second and the
// rest of each frame's time is slept out. (While the window is hidden or unmapped each host draws
// nothing and waits for window-system events.)
#pragma once

#include <cstdint>

// When the frame after one that was due at `frameDue` may start, and how long to wait for it,
// with the clock at `now`; all in counter ticks at `frequency` ticks a second.
struct FramePace {
    int64_t wait;     // ticks to sleep before the next frame, >= 0
    int64_t nextDue;  // the tick the next frame is due at
};

// Frames are due one period (1/maxFps s, rounded up to a whole tick) apart, counted from when the
// previous one was due, so late wake-ups do not add up. A frame that overran its whole period
// makes the next one due at once, with no hurry to catch up. maxFps 0: never a wait.
FramePace PaceFrame(int64_t frameDue, int64_t now, int64_t frequency, int maxFps);

// Sleeps until the next frame is due under the --max-fps cap; returns at once without a cap.
void WaitForNextFrame();
