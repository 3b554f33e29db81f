// The C library's heap, set up for a program that draws for weeks. Left to its defaults, glibc
// hands the top of the heap back to the system whenever a free leaves more than 128 KB there, and
// the software renderer frees and allocates a few megabytes every frame: each frame grew the heap
// again and faulted its pages back in. Here the heap keeps what it has in the steady state, and
// gives freed memory back once after a change of window size has settled (each size makes the
// renderer allocate new buffers, and the old ones would otherwise stay resident).
#pragma once

#include <cstdint>

// Milliseconds of uptime without a new window size before freed memory is handed back.
constexpr uint64_t kHeapSettleMs = 2000;

// Asks the C library to keep freed memory at the top of the heap and to grow it in large steps.
// Called once, before GL starts. False where the C library offers no such settings (not glibc),
// and the program runs with its defaults.
bool ConfigureHeap();

// Hands the heap's free memory back to the system now. False where the C library cannot.
bool TrimHeap();

// A window size changed at `uptimeMs`: freed memory is handed back once the size has held for
// kHeapSettleMs.
void ScheduleHeapTrim(uint64_t uptimeMs);

// Called every frame: hands freed memory back when a scheduled trim is due. Says whether it did.
bool TrimHeapWhenSettled(uint64_t uptimeMs);
