// The scene's per-frame smoke step: tint, emission at the cigarette's lit end, drift, motion,
// the lit cigarette and the additive smoke over it. The left-button drag moves both.
#pragma once

constexpr int kSmokeStyle = 1;  // the particle style the smoke uses, tuned at start-up

// Sets the particle style's tables for smoke: no acceleration, small, slowly growing sprites
// that live 5 s at speed 1. Called once at start-up, after the textures are loaded.
void TuneSmokeStyle();

// One frame of smoke: tint, emission at the lit end, drift, motion, the lit cigarette and the
// additive smoke pass.
void SmokeFrame();

// The additive smoke pass alone, as the frame draws it: the pool at the settings' size, the
// fade's brightness, facing the camera, at CurrentTime.
void DrawSmokePass();
