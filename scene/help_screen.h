// The two pieces of fixed text over the scene: the help screen and the opening title flash.
#pragma once

#include <cstdint>

// The list of controls, drawn while HelpShown is set. Leaves the remembered message alone.
void DrawHelpScreen();

// Draws text large near (x, y), wobbling on two oscillators and now and then jumping, at the
// given opacity. Leaves the remembered message alone and the overlay's alpha back at 1.
void TitleFlash(const char* text, int16_t x, int16_t y, float size, float alpha);
