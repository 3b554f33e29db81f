// The scene's side of the host contract: one-time set-up, the composition of each frame with its
// clock, projection, letterbox and camera, and the release of the GL objects.
#pragma once

extern float CurrentTime;     // scene seconds, ElapsedMs x 0.001; written at each frame's start
extern double PreviousTime;   // CurrentTime of the previous frame, seconds
extern float FrameDelta;      // seconds since the previous frame; a frame over 0.1 counts 0.05
extern int FramesThisSecond;  // frames counted since the last whole-second mark
extern double NextSecond;     // next whole-second mark on the CurrentTime scale, seconds
extern int FramesPerSecond;   // frames in the last completed second; 30 until the first one
extern double CameraAngleX;   // camera rotation about x, degrees; zeroed every frame
extern double CameraAngleY;   // camera rotation about y, degrees; zeroed every frame
extern double CameraAngleZ;   // camera rotation about z, degrees; zeroed every frame
extern int HelpShown;         // 0/1: the help screen is drawn; written by the controls

// Polygon mode, letterboxed viewport, perspective projection and the look-at eye.
void SetProjection();
// The camera's offset and rotations on top of the look-at.
void PlaceCamera();
