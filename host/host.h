// The GLUT shell: process entry, the one window, the handlers and the millisecond clock.
#pragma once

#include <cstdint>

extern int WindowWidth;           // window client width, pixels, >= 0; written by Reshape
extern int WindowHeight;          // window client height, pixels, >= 0; written by Reshape
extern uint32_t ElapsedMs;        // ms from the clock start to the latest Display, wraps after
                                  // 2^32 ms; written by Display only (0 until the first one)
extern int64_t CounterStart;      // counter value at the clock start, ticks; written at start-up
extern int64_t CounterFrequency;  // counter ticks per second; written at start-up
extern int HostFullScreen;        // 0/1 state of the host's own full-screen toggle
extern uint64_t UptimeMs;         // ms from the clock start, never wraps: ElapsedMs's steps added
                                  // up modulo 2^32 each; written by FoldUptime only

// Adds the step ElapsedMs has made since the last call, taken modulo 2^32 so that its wrap after
// 49.7 days counts forward, to UptimeMs, and returns UptimeMs. Whoever needs the time calls it;
// a step is never counted twice.
uint64_t FoldUptime();
// FoldUptime in seconds: whole milliseconds in a double, exact for far longer than any run.
double UptimeSeconds();
// ElapsedMs and UptimeMs back to 0, as at the clock start.
void ResetHostClock();

// Milliseconds in `ticks` of a counter running at `frequency` ticks per second: the low 32 bits
// of ticks * 1000 / frequency, truncated toward zero, exact for any tick count.
uint32_t TicksToMs(int64_t ticks, int64_t frequency);

// The monotonic counter the clock reads, and its rate.
int64_t ReadCounter();
int64_t ReadCounterFrequency();

// Calls Shutdown, then ends the process with status 0 through the normal exit path.
[[noreturn]] void QuitProgram();

// GLUT handlers the host installs.
void Reshape(int width, int height);
void Display();
void Idle();
void HostKeyboard(unsigned char key, int x, int y);

// The whole program: the command line, start-up, then the GLUT main loop. Returns the exit status
// after --help, --version or a bad command line; otherwise ends only through exit.
int RunHost(int argc, char** argv);
