// The five application hooks a simulation supplies to the host. The host calls them; nothing else
// does (except that an application may end itself through Shutdown, see QuitProgram).
#pragma once

// First thing at start-up, before the window system is touched; false aborts the start.
bool PreInit();
// The window title, asked once when a host creates its window (a window another program
// made keeps its own title).
const char* WindowTitle();
// One-time set-up after the window, the handlers and the clock exist; false aborts the start.
bool Init();
// One picture, after ElapsedMs is updated and before the buffer swap; false ends the process.
bool Frame();
// Releases the application's GL objects; called by QuitProgram.
void Shutdown();
