// The event loop's wait between frames.
#include "host/wayland/frame_callbacks.h"

#include <algorithm>

namespace {
constexpr int64_t kLongestWaitMs = 1 << 30;  // poll takes an int
}  // namespace

int EventWaitMs(bool frameAsked, bool drawable, int64_t repeatInMs) {
    if (frameAsked && drawable) return 0;
    if (repeatInMs == kNoRepeat) return -1;
    return static_cast<int>(std::clamp<int64_t>(repeatInMs, 0, kLongestWaitMs));
}
