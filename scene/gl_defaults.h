// The scene's default GL state: what holds between the passes of a frame. Every drawing routine
// expects it on entry and leaves it on exit, except where its own Expects/Leaves comment names a
// difference. Init sets it once; nothing resets it per frame.
//
// | State                    | Default                                     | Switched by    |
// |--------------------------|---------------------------------------------|----------------|
// | blending                 | off; GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA   | text, smoke    |
// | alpha test               | off (its function: see below)               | text, smoke    |
// | lighting                 | off; GL_LIGHT0 enabled and placed per frame | frame, smoke   |
// | depth test; depth writes | off; on                                     | smoke, text    |
// | 2-D texturing            | off; environment GL_MODULATE                | text, smoke    |
// | colour material          | on, front and back, ambient and diffuse     | nobody         |
// | light model; material    | local viewer; shininess 5                   | nobody         |
// | shading; dithering       | smooth; off                                 | nobody         |
// | matrix mode              | GL_MODELVIEW                                | frame, text    |
//
// State that is not restored, by design: the alpha function is whatever the last alpha-tested
// pass set (the text's 0.1 or the smoke's cutoff), since every pass that tests alpha sets its own;
// the projection is the frame's or, after text, orthographic, since every frame loads its own;
// the polygon mode follows PolyMode; the point size is the star field's 2; the current colour is
// whatever was drawn last.
#pragma once

// Sets the state above that GL's own start values do not already give.
void SetSceneGlDefaults();
