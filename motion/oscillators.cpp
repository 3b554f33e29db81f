// The oscillator bank: slowly wandering phases read through sines by the scene's moving parts.
#include "motion/oscillators.h"

#include <algorithm>
#include <cmath>

#include "motion/random.h"

namespace {
using namespace OscillatorBank;

constexpr double kStartPhaseRange = 360.0;
constexpr double kTargetSpeedRange = 0.02;  // a target's magnitude is in [0.02, 0.04)
constexpr double kTargetSpeedMin = 0.02;
constexpr double kChangesPerSecond = 0.1;  // toggles and retargets, each once per ~10 s per slot
constexpr double kPositiveTargetChance = 0.45;
constexpr double kApproachRate = 0.001;  // per step, whatever dt is
constexpr double kCoastDecay = 0.999;    // per step, whatever dt is
constexpr double kRotateDegreesPerRadian = 57.3;

// The last slot of each speed group.
constexpr int kLastRotateSlot = 3;
constexpr int kLastMovementSlot = 6;
constexpr int kLastMainSlot = 49;

// Callers always pass the bank size; a larger count must not run past the arrays.
int SlotsToUse(int count) {
    return std::min(count, kOscillatorSlots);
}

// Each group's rule, with its factors multiplied in this order.
double PhaseAdvance(int k, double dt, const OscillatorSpeeds& speeds) {
    if (k == 0) return dt * speeds.main;
    if (k <= kLastRotateSlot) {
        return speeds.rotate * velocity[k] * dt * kRotateDegreesPerRadian;
    }
    if (k <= kLastMovementSlot) return speeds.movement * velocity[k] * dt;
    if (k <= kLastMainSlot) return speeds.main * velocity[k] * dt;
    return speeds.lightRotate * velocity[k] * dt;
}
}  // namespace

void ClearOscillatorBank() {
    for (int k = 0; k < kOscillatorSlots; ++k) {
        phase[k] = velocity[k] = targetVelocity[k] = 0;
        driven[k] = 0;
    }
}

void InitOscillators(int count) {
    const int slots = SlotsToUse(count);
    for (int k = 1; k < slots; ++k) {
        phase[k] = RandomUpTo(kStartPhaseRange);
        targetVelocity[k] = RandomUpTo(kTargetSpeedRange) + kTargetSpeedMin;
        velocity[k] = targetVelocity[k];
        driven[k] = 1;
    }
}

void StepOscillatorBank(int count, float dt, const OscillatorSpeeds& speeds) {
    const int slots = SlotsToUse(count);
    const double changeChance = static_cast<double>(dt) * kChangesPerSecond;
    for (int k = 0; k < slots; ++k) {
        if (RandomUpTo(1.0) < changeChance) driven[k] = driven[k] == 0 ? 1 : 0;
        if (RandomUpTo(1.0) < changeChance) {
            const double m = RandomUpTo(kTargetSpeedRange) + kTargetSpeedMin;
            targetVelocity[k] = RandomUpTo(1.0) < kPositiveTargetChance ? m : -m;
        }
        if (driven[k] != 0) {
            velocity[k] += (targetVelocity[k] - velocity[k]) * kApproachRate;
        } else {
            velocity[k] *= kCoastDecay;
        }
        phase[k] += PhaseAdvance(k, dt, speeds);
    }
}

double Oscillate(int k, double frequency, double amplitude, double offset) {
    return (std::sin(frequency * phase[k]) * 0.5 + 0.5) * amplitude + offset;
}
