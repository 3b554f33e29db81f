// The largest window the program draws in. Mesa's software renderer (llvmpipe) keeps a window's
// colour and depth buffers in 64 x 64 tiles of 4 bytes a sample, and a buffer over 2^31 bytes
// cannot be made: the window then shows nothing new, and a window far larger still (a window
// manager may make it 32767 x 32767) makes the buffer swap abort the process inside libxcb. So
// beyond this size the host neither draws nor swaps.
#pragma once

// Whether a window of width x height pixels with `samples` per pixel (0: not multisampled, as 1)
// is drawn: each side at most 16384 (the largest viewport GL offers), and its whole tiles at most
// 2^31 bytes (at 4 samples, 2^27 pixels: 16384 x 8192 or 11584 x 11584) and at most 2^27 pixels
// with fewer samples.
bool WindowDrawable(int width, int height, int samples);

// Writes the one line that says why nothing is drawn in a window of width x height pixels with
// `samples` per pixel.
void WarnWindowTooLarge(int width, int height, int samples);
