// The scene's per-frame smoke step: tint, emission at the cigarette's lit end, drift, motion,
// the lit cigarette and the additive smoke over it. The left-button drag moves both.
#pragma once

constexpr int kSmokeStyle = 1;  // the particle style the smoke uses, tuned at start-up

extern int MouseDragging;  // 0/1: the left button is held; written by the mouse handler
extern int MouseX;         // pointer x minus half the window width, pixels, right positive
extern int MouseY;         // pointer y minus half the window height, pixels, down positive

void SmokeFrame();
