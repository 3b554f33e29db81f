// How the X hosts end when the X server fails under them: a lost connection ends the program in
// one line with status 1, never in Xlib's dump, a hang or a crash inside the GL library that was
// talking to the server when it went. Names no Xlib type, for the GLUT host's sake (its Display
// handler).
#pragma once

struct _XDisplay;

// From now on a lost connection to an X server ends the program in one line (through
// EndWithFailedWindowSystem); and a crash while `watched`'s server is gone is taken for that lost
// connection, since the GL library does not check the replies a dead server no longer sends.
// Called with the connection open, before the first GLX call.
void WatchXServer(_XDisplay* watched);

// WatchXServer on a connection of its own to `displayName` (null: $DISPLAY), kept for the run;
// false, with its one line on standard error, when the display cannot be opened.
bool WatchXServerOf(const char* displayName);

// From now on an X error ends the program in one line with status 1, as Xlib's own handler ends
// it in several.
void EndOnXErrors();

// The one line that says what X error `errorCode` in request `requestCode` is, in `line` of
// `bytes`: "wispra: X error: TEXT (request N)" and `ending`.
void DescribeXError(_XDisplay* display, int errorCode, int requestCode, const char* ending,
                    char* line, int bytes);
