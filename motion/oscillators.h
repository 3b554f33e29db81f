// The bank of wandering oscillators behind every self-driven movement of the scene.
#pragma once

// Slot groups and their speed factors: 0 (dt x MainSpeed, no reader); 1..3 RotateSpeed (universe
// rotation about y, x, z); 4..6 MovementSpeed (no reader); 7..49 MainSpeed (13..15 smoke tint,
// 16 cigarette yaw, 17 cigarette pitch and title x, 18 title y); 50..59 LightRotateSpeed (spot
// light 0: 50..52 colour, 53 yaw, 54 pitch; spot light 1: 55..59 likewise).
#include "motion/motion_state.h"

// Zeroes every slot, as at program start.
void ClearOscillatorBank();

// Gives slots 1..count-1 random phases and driven target velocities; slot 0 is left alone.
void InitOscillators(int count);

// The four speed factors the slot groups advance with, as the viewer has set them.
struct OscillatorSpeeds {
    float rotate;       // slots 1..3
    float movement;     // slots 4..6
    float main;         // slot 0 and slots 7..49
    float lightRotate;  // slots 50..59
};

// Advances slots 0..count-1 by one frame of dt seconds with the given speed factors.
void StepOscillatorBank(int count, float dt, const OscillatorSpeeds& speeds);

// Slot k's phase through sin(frequency x phase), mapped into [offset, offset + amplitude].
double Oscillate(int k, double frequency, double amplitude, double offset);
