// The scene's side of the host contract: one-time set-up, the composition of each frame with its
// clock, projection, letterbox and camera, and the release of the GL objects. It sits on top of
// the scene: nothing in scene/ includes this header.
#pragma once

// Polygon mode, letterboxed viewport, perspective projection and the look-at eye.
void SetProjection();
// The camera's offset and rotations on top of the look-at.
void PlaceCamera();
