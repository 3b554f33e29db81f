// What every host shares: the start-up order, the frame step, the reshape handler, the window's
// hidden state and the orderly end of the process. How a window, a GL context and events are had
// is each host's own, behind window_system.h; the state is in host_state.h, the clock in clock.h,
// pacing in pacing.h, input in input.h.
#pragma once

struct WindowSystem;

constexpr int kFailureStatus = 1;  // exit status for a failed start or unwritable output
constexpr int kUsageStatus = 2;    // exit status for a command line or a window the program refuses
constexpr int kFailureLineBytes = 256;  // room for one line that says what failed

// Calls Shutdown, lets the window system go, then ends the process through the normal exit path
// with status 0, or what endOfRun returns (a settings file that cannot be saved, say).
[[noreturn]] void QuitProgram();

// Stores the window's new size and sets the viewport to all of it; every host calls it when the
// size changes.
void Reshape(int width, int height);

// One frame on the host's clock: the uptime from the counter, then Frame; a Frame that returns
// false ends the program (the unfinished picture is not swapped).
void DrawFrame();

// The frame step every host takes when a frame is due: nothing while the window is hidden or too
// large to draw; otherwise DrawFrame, then the swap through the window system in use.
void StepFrame();

// The one writer of WindowHidden (0/1), for every host.
void SetWindowHidden(int hidden);

// The application is fading out to end the program (1) or no longer is (0). From 1 on, a window
// that draws no frames, hidden or too large to draw, ends the program at once, since no frame
// would carry the fade to its end; so does one that draws none already.
void SetQuitWhenUndrawn(int quit);

// Writes `line` and a newline on standard error through write(2), not stdio: safe in a signal
// handler and inside a call that holds stdio's lock.
void SayFailure(const char* line);

// Ends the process at once when the window system fails under the program (a lost connection, a
// fatal error of its library): `line` on standard error unless null, a --save all the same, and
// status 1 (0 for a quiet end without a line). No Shutdown and no exit handlers, which would call
// into the failed connection or wait on locks the failing call holds.
[[noreturn]] void EndWithFailedWindowSystem(const char* line);

// The whole run on `system`, with hostOptions already set: start-up, then the window system's
// event loop. Returns the exit status when the window system refuses to start; otherwise ends only
// through exit.
int RunHost(const WindowSystem& system);
