// The oscillator bank's storage and the motion layer's reset. Zero-initialised, as at process
// start; the generator starts from its own initial state word.
#include "motion/motion_state.h"

#include "motion/oscillators.h"
#include "motion/random.h"

namespace OscillatorBank {
double phase[kOscillatorSlots];
double velocity[kOscillatorSlots];
double targetVelocity[kOscillatorSlots];
int driven[kOscillatorSlots];
}  // namespace OscillatorBank

void ResetMotionState() {
    SeedRandom(kRandomStartState);
    ClearOscillatorBank();
}
