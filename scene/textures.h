// The scene's two textures, read from 128 x 128 24-bit bitmap files, and the start-up step that
// hands them to their users, tunes the smoke style and builds the cigarette.
#pragma once

// Reads a 128 x 128, 24-bit, uncompressed bitmap into a new RGBA texture and leaves it bound.
// alpha < 0: each texel's alpha is its mean brightness; 0..255: alpha is that value unless all
// three colour bytes are below threshold (then 0). Returns 0, with one line on standard error,
// for a file that cannot be opened, is not a regular file or is not such a bitmap. Reads only the
// header and the pixel bytes, and never waits on a named pipe.
unsigned int LoadBmpTexture(const char* path, int alpha, int threshold, bool mipmaps);

// Loads "font.bmp" and "smoke128.bmp", each from the first folder that LocateDataFile finds a
// usable copy in, tunes particle style 1 for smoke, builds the cigarette.
void InitResources();

// Deletes the loaded textures.
void ReleaseTextures();
