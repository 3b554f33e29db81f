// The motion layer's state: the oscillator bank's four arrays, here, and the random generator's
// state word, which stays private to the generator (random.cpp). ResetMotionState puts both back
// to their values at process start.
#pragma once

constexpr int kOscillatorSlots = 60;

// Written by InitOscillators, StepOscillatorBank and ClearOscillatorBank only; read through
// Oscillate.
namespace OscillatorBank {
extern double phase[kOscillatorSlots];           // accumulated phase, unbounded, never wrapped
extern double velocity[kOscillatorSlots];        // phase velocity before the group's speed
extern double targetVelocity[kOscillatorSlots];  // pulled towards while driven, |v| in
                                                 // [0.02, 0.04)
extern int driven[kOscillatorSlots];             // 0/1: approach the target, else decay to rest
}  // namespace OscillatorBank

// The generator's state word back to 1 and every oscillator slot to zero, as at process start.
void ResetMotionState();
