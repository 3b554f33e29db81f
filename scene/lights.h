// The spot lights that circle the scene's centre on oscillator paths, always aimed at it.
#pragma once

// Largest light count: the oscillator bank drives two lights (slots 50..59).
constexpr int kMaxSpotLights = 2;

// The scene's presets: one light, set up at start and again, brighter, by the reset key, and
// placed every frame with these levels at this distance from the centre.
constexpr int kSceneLights = 1;
constexpr float kStartAmbient = 0.4f;
constexpr float kStartSpecular = 0.6f;
constexpr float kResetAmbient = 0.5f;
constexpr float kResetSpecular = 0.9f;  // stays for the rest of the run: stronger highlights
constexpr float kPlacedAmbient = 0.25f;
constexpr float kPlacedDiffuse = 0.4f;
constexpr float kPlacedSpecular = 0.6f;
constexpr float kLightDistance = 9.8f;

// Fixed lighting state: global ambient, material specular, spot shape; enables the lights.
// Counts above kMaxSpotLights are clamped; 0 makes no GL call.
void SetupLights(int count, float ambient, float specular);

// Sets each light's colours (scaled by brightness) and moves it along its path, at `distance`
// from the origin of the current modelview frame. Counts above kMaxSpotLights are clamped; 0
// makes no GL call.
void PlaceSpotLights(int count, float ambient, float diffuse, float specular, float brightness,
                     float distance);
