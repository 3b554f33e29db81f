// Every piece of the host's state, in one place: the window, input, the clock, pacing, the heap
// and this run's options and data folders. ResetHostState puts all of it back to its value at
// process start. The window system's own handles stay inside the host that holds them: GLUT's in
// GLUT, the saver host's connection in host/x11_saver/saver_host.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_options.h"
#include "host/input.h"
#include "host/window_system.h"

// The window.
extern const WindowSystem* windowSystem;  // the host in use, null before RunHost; written by
                                          // RunHost (tests set it themselves)
extern int WindowWidth;      // client width, pixels, >= 0; written by a host's open (the start
                             // size) and Reshape
extern int WindowHeight;     // client height, pixels, >= 0; written with WindowWidth
extern int HostFullScreen;   // 0/1: state of HostKeyboard's full-screen toggle; written by it
extern int WindowHidden;     // 0/1: the window is unmapped (hidden or iconified); written by
                             // SetWindowHidden only
extern int WindowOversize;   // 0/1: the window is larger than the renderer draws, so nothing is
                             // drawn or swapped; written by Reshape
extern int QuitWhenUndrawn;  // 0/1: the application is fading out to end the process, which a
                             // window that draws no frames (hidden or too large) ends at once;
                             // written by SetQuitWhenUndrawn only

// Input.
extern InputHandlers inputHandlers;  // where the hosts' input goes: HostInputHandlers() until
                                     // the application's; written by TakeInput

// The clock.
extern uint64_t UptimeMs;         // ms from the clock start to the latest frame, never wraps;
                                  // written by SetUptimeMs only
extern uint32_t ElapsedMs;        // low 32 bits of UptimeMs, wraps after 2^32 ms (49.7 days);
                                  // written by SetUptimeMs only
extern int64_t CounterStart;      // counter value at the clock start, ticks; written by RunHost
extern int64_t CounterFrequency;  // counter ticks per second; written by RunHost
extern int64_t NextFrameDue;      // counter tick the next frame is due at; written by RunHost at
                                  // the clock start and by WaitForNextFrame

// The heap.
extern int HeapTrimPending;     // 0/1: a window size changed and freed memory is to be handed
                                // back; set by ScheduleHeapTrim, cleared by TrimHeapWhenSettled
extern uint64_t HeapTrimDueMs;  // uptime, ms, when that is due; written by ScheduleHeapTrim

// The run.
extern HostOptions hostOptions;               // this run's options; written by the program's
                                              // entry before RunHost
extern int (*endOfRun)();                     // what QuitProgram does last, its result the
                                              // exit status; null: 0; written by the entry
extern std::vector<std::string> dataFolders;  // folders tried after the working directory for
                                              // data files, absolute; written by the program's
                                              // entry (empty: the working directory only)

// Puts everything above back to its value at process start.
void ResetHostState();
