// The heap's settings and its trim after a window size settles.
#include "host/heap.h"

#include "host/host_state.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
#if defined(__GLIBC__)
// Free memory at the heap's top that glibc hands back on its own: in practice never, so the
// steady state neither shrinks nor regrows the heap. 2,000,000,000 bytes, within mallopt's int.
constexpr int kTrimThresholdBytes = 2000000000;
// Extra bytes the heap grows by whenever it must grow, so that a frame needing a little more
// than the last one does not grow it again.
constexpr int kTopPadBytes = 64 << 20;
#endif
}  // namespace

bool ConfigureHeap() {
#if defined(__GLIBC__)
    return mallopt(M_TRIM_THRESHOLD, kTrimThresholdBytes) == 1 &&
           mallopt(M_TOP_PAD, kTopPadBytes) == 1;
#else
    return false;
#endif
}

bool TrimHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);  // its result says only whether any memory was released
    return true;
#else
    return false;
#endif
}

void ScheduleHeapTrim(uint64_t uptimeMs) {
    HeapTrimDueMs = uptimeMs + kHeapSettleMs;
    HeapTrimPending = 1;
}

bool TrimHeapWhenSettled(uint64_t uptimeMs) {
    if (!HeapTrimPending || uptimeMs < HeapTrimDueMs) return false;
    HeapTrimPending = 0;
    return TrimHeap();
}
