// The cigarette: four GLU quadric pieces compiled into one display list, swayed by two
// oscillators about its lit end, which sits at the model origin.
#pragma once

// Replaces the list with one built at the current Tesselation.
void BuildCigarette();
// Draws the list with the current sway. Expects lighting and depth testing on.
void DrawCigarette();
