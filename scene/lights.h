// The spot lights that circle the scene's centre on oscillator paths, always aimed at it.
#pragma once

// Largest light count: the oscillator bank drives two lights (slots 50..59).
constexpr int kMaxSpotLights = 2;

// Fixed lighting state: global ambient, material specular, spot shape; enables the lights.
// Counts above kMaxSpotLights are clamped; 0 makes no GL call.
void SetupLights(int count, float ambient, float specular);

// Sets each light's colours (scaled by brightness) and moves it along its path, at `distance`
// from the origin of the current modelview frame. Counts above kMaxSpotLights are clamped; 0
// makes no GL call.
void PlaceSpotLights(int count, float ambient, float diffuse, float specular, float brightness,
                     float distance);
