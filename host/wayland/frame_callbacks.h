// Pacing by the compositor's frame callbacks: a frame is drawn only once the compositor has asked
// for the next one (then no sooner than --max-fps allows, as every host waits, WaitForNextFrame).
// A surface the compositor does not show (hidden, minimised, on another workspace, covered by a
// full-screen window) gets no callbacks, so nothing is drawn and the host sleeps until an event.
#pragma once

#include <cstdint>

constexpr int64_t kNoRepeat = -1;  // no key is held down

// How long the event loop waits for events before its next step, ms: 0 when a frame may be drawn
// (`frameAsked` by the compositor, and the surface `drawable`: it has a size the renderer can
// draw); else until the held key's next repeat, `repeatInMs` from now; else -1, until an event
// comes. Pure.
int EventWaitMs(bool frameAsked, bool drawable, int64_t repeatInMs);
