// The seat's keyboard and pointer, translated into the application's own codes and reported
// through the host's Input calls: characters through xkbcommon and the seat's keymap (shifted
// symbols, Escape and Space as under X), the arrow keys, held keys repeated at the rate and delay
// the compositor gives, the buttons and the drag. Private to host/wayland/.
#pragma once

#include <cstdint>

struct wl_seat;

// Takes the seat's keyboard and pointer as the seat offers them.
void ListenToSeat(wl_seat* seat);

// Milliseconds until the held key repeats, or kNoRepeat when none is held.
int64_t KeyRepeatInMs();
// Reports the held key again once its repeat is due.
void RepeatHeldKey();

// The pointer is hidden over the surface from now on (when it enters it next, and now).
void HideWaylandPointer();

// The application's code for the keysym `keysym`, or -1 when it is no SpecialKey. Pure.
int SpecialKeyFromKeysym(uint32_t keysym);
