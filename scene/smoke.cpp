// The smoke step of each frame, always with particle style 1.
//
// Expects/Leaves: the scene defaults (SetSceneGlDefaults), with the modelview at the camera; the
// smoke pass leaves the alpha function at its cutoff and the sprite texture bound.
#include "scene/smoke.h"

#include <GL/gl.h>

#include "common/widths.h"
#include "motion/oscillators.h"
#include "particles/particle_system.h"
#include "scene/cigarette.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

namespace {
constexpr int kTintSlotR = 13;
constexpr int kTintSlotG = 14;
constexpr int kTintSlotB = 15;
constexpr double kTintFrequency = 10.0;
constexpr double kTintRange = 0.1;  // each scale lies in 0.3..0.4
constexpr double kTintFrom = 0.3;
constexpr double kSceneUnitsPerPixel = 0.0005;
constexpr double kDriftBase = 0.6;  // ArrowY below this makes the smoke sink

constexpr float kSmokeSizeBase = 0.008f;
constexpr float kSmokeGrowth = 0.01f;
constexpr float kSmokeSpread = 0.1f;
constexpr float kSmokeLifeBase = 5.0f;

float Tint(int slot) {
    return StoreFloat(Oscillate(slot, kTintFrequency, kTintRange, kTintFrom));
}

// Where the lit end is this frame: the origin, or moved with the drag.
float OffsetX() {
    return MouseDragging ? StoreFloat(MouseX * kSceneUnitsPerPixel) : 0.0f;
}
float OffsetY() {
    return MouseDragging ? StoreFloat(-MouseY * kSceneUnitsPerPixel) : 0.0f;
}
}  // namespace

void TuneSmokeStyle() {
    particleSystem.accelY[kSmokeStyle] = 0.0f;
    particleSystem.sizeBase[kSmokeStyle] = kSmokeSizeBase;
    particleSystem.growth[kSmokeStyle] = kSmokeGrowth;
    particleSystem.spread[kSmokeStyle] = kSmokeSpread;
    particleSystem.lifeBase[kSmokeStyle] = kSmokeLifeBase;
}

void SmokeFrame() {
    ParticleSystem& smoke = particleSystem;
    smoke.colourScaleR[kSmokeStyle] = Tint(kTintSlotR);
    smoke.colourScaleG[kSmokeStyle] = Tint(kTintSlotG);
    smoke.colourScaleB[kSmokeStyle] = Tint(kTintSlotB);

    // A particle lives lifeBase / speed: when the speed changes, the living smoke follows at
    // once instead of keeping the life it was born with.
    smoke.RetimeLives(CurrentTime, settings.MainSpeed);
    // The pool would refuse sooner anyway; no emission is attempted then.
    if (CurrentTime > smoke.lastEmitTime + kEmitInterval) {
        smoke.Emit(kSmokeStyle, OffsetX(), OffsetY(), 0, CurrentTime, settings.MainSpeed);
    }
    // Set before the update, so a change of ArrowY acts in this frame.
    smoke.windY[kSmokeStyle] = StoreFloat(settings.ArrowY - kDriftBase);
    smoke.Update(kSmokeStyle, CurrentTime, FrameDelta, settings.MainSpeed);

    glEnable(GL_LIGHTING);
    glPushMatrix();
    if (MouseDragging) glTranslatef(OffsetX(), OffsetY(), 0);
    glEnable(GL_DEPTH_TEST);
    DrawCigarette();
    glDisable(GL_DEPTH_TEST);
    glPopMatrix();
    glDisable(GL_LIGHTING);

    // Drawn without depth testing: smoke behind the cigarette still shows over it.
    DrawSmokePass();
}

void DrawSmokePass() {
    particleSystem.Draw(kSmokeStyle,
                        StoreFloat(static_cast<double>(settings.ObjectSize) * settings.MainSpeed),
                        Brightness, StoreFloat(CameraAngleX), StoreFloat(CameraAngleY),
                        StoreFloat(CameraAngleZ), CurrentTime);
}
