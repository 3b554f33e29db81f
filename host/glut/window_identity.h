// How the program's own window names itself to the desktop, so that taskbars, switchers and
// docks can match it to its desktop entry and show its icon.
#pragma once

// Sets WM_CLASS ("wispra", "Wispra": the class is what the desktop entry's StartupWMClass names),
// _NET_WM_NAME (`title`, in UTF-8) and _NET_WM_ICON (the icon the build draws) on the window of the
// current GLX drawable: call it once, after the window is created and made current. Does nothing
// when no window is current. Only for a window the program owns.
void IdentifyWindow(const char* title);
