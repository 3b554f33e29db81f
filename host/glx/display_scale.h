// The text factor an X display asks for: desktops that scale their interface set the Xft.dpi
// resource (192 on a screen shown at twice the size), which X programs read from the resources
// the display holds.
#pragma once

// Whole pixels per font pixel for the resource string `resources` (as XResourceManagerString
// gives it, null for none): Xft.dpi rounded down to a whole multiple of 96 dpi, 1..8; 1 without
// the resource or with a value that is not a number. Pure.
int ScaleFromResources(const char* resources);

// The same for the resources of the display of the current GLX context; 1 without one.
int CurrentDisplayTextScale();
