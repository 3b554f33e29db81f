// The swap interval: where the GLX driver offers one, buffer swaps wait for the display's
// vertical blank.
#pragma once

// The GLX extensions that set a swap interval, in the order they are preferred.
enum class SwapControl { kNone, kExt, kMesa, kSgi };

// The first of GLX_EXT_swap_control, GLX_MESA_swap_control and GLX_SGI_swap_control that the
// space-separated `extensions` names as a whole word; kNone for none or a null string.
SwapControl ChooseSwapControl(const char* extensions);

// Asks the current GLX context's driver for a swap interval of `interval` vertical blanks, through
// the first extension its display offers. False when none is offered or the driver refuses.
bool RequestSwapInterval(int interval);
