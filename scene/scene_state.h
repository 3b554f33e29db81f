// The scene's shared state: the four global objects and every scene-wide global, with what each
// means and who writes it, all defined in scene_state.cpp. ResetSceneState puts all of it back to
// its value at process start.
#pragma once

#include <cstdint>

#include "particles/particle_system.h"
#include "scene/settings.h"
#include "scene/star_field.h"
#include "text/text_overlay.h"

// The four objects, constructed in this order before the program entry runs and destroyed in the
// reverse order at exit.
extern TextOverlay textOverlay;        // every piece of text; its message fields are written by
                                       // the status lines, its textures by InitResources
extern SceneSettings settings;         // the viewer's parameters; written by ResetScene and the
                                       // controls
extern StarField universe;             // the star field; built by Init, released by Shutdown
extern ParticleSystem particleSystem;  // the smoke's pool; tuned by InitResources, driven by the
                                       // smoke step, cleared by ResetScene

// The start, which the program's options and settings file give before Init.
extern SettingStarts settingStarts;  // what each setting starts from and a reset returns to: its
                                     // default, or the value given; written by the program's start
extern int64_t FirstSeed;  // the generator's seed at Init, 0..2^32-1, or kSeedFromClock: ElapsedMs
                           // (0 at Init), as every reset seeds it; written by the program's start

// Fade and pause, beside the settings.
extern int PauseMotion;   // 0/1: oscillators and spot light stand still; written by the controls
                          // and ResetScene
extern float Brightness;  // fade factor: 1.0 normally, below 1.0 while fading out to exit;
                          // written by ResetScene, the controls and the frame's fade step

// The frame clock. The scene's time advances by what each frame counts, so a stall (a frame
// longer than 0.1 s counts 0.05 s) holds back everything that moves, lives or expires with it,
// while the host's uptime goes on.
extern uint64_t SceneMs;           // scene time in whole ms, never wraps; written by the frame
extern uint64_t PreviousUptimeMs;  // the host's uptime at the previous frame, ms; the frame
extern double CurrentTime;         // scene seconds, SceneMs x 0.001, ms steps for years; written
                                   // at each frame's start
extern float FrameDelta;           // scene seconds since the previous frame, 0..0.1 (a stall
                                   // counts 0.05); written by the frame
extern int FramesThisSecond;       // frames counted since the last whole-second mark; the frame
extern double NextSecond;          // next whole-second mark of the host's uptime, seconds; the
                                   // frame
extern int FramesPerSecond;        // frames in the last completed second of uptime, 30 until the
                                   // first; the frame

// The view.
extern double CameraAngleX;  // camera rotation about x, degrees; zeroed by every frame
extern double CameraAngleY;  // camera rotation about y, degrees; zeroed by every frame
extern double CameraAngleZ;  // camera rotation about z, degrees; zeroed by every frame
extern int HelpShown;        // 0/1: the help screen is drawn; written by the controls
extern int FullScreen;       // 0/1: the window is full screen; written by Init and the controls
extern int LetterboxPhase;   // position in the letterbox cycle, -5..6, |phase| == Letterbox after
                             // each letterbox key; written by the controls

// The drag, written by the mouse handlers and read by the smoke step.
extern int MouseDragging;  // 0/1: the left button is held
extern int MouseX;         // pointer x minus half the window width, pixels, right positive
extern int MouseY;         // pointer y minus half the window height, pixels, down positive

// GL objects the scene holds.
extern int32_t cigaretteList;  // display-list name, -1 when none; written by BuildCigarette only
constexpr int kTextureSlots = 10;
extern unsigned int textureIds[kTextureSlots];  // texture names in load order: 0 font, 1 smoke;
                                                // written by InitResources
extern int textureCount;                        // entries in use, 0..10; written by InitResources
                                                // and ReleaseTextures

// Puts every global above and the four global objects back to their values at process start (not
// the defaults the reset key restores: that is ResetScene). GL objects are not released here:
// Shutdown and the cigarette's rebuild own that.
void ResetSceneState();
