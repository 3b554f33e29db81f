// The particle pool: construction with the style tables, emission, re-timing and motion. The
// drawing pass is particle_pass.cpp.
#include "particles/particle_system.h"

#include "common/widths.h"
#include "motion/random.h"

namespace {
constexpr double kMotionScale = 0.2;
constexpr double kDepthSpread = 0.2;  // vz's range is a fifth of vx's and vy's
constexpr double kAngleRange = 360.0;
constexpr double kSpinRange = 160.0;  // spin is uniform in [-80, 80) degrees per second
constexpr double kStyle2ColourRange = 0.7;
constexpr double kStyle2ColourMin = 0.3;
constexpr float kSmokeGrey = 0.66f;
}  // namespace

ParticleSystem::ParticleSystem()
    : particles{},
      capacity(kParticlePool),
      spriteTexture(0),
      accelY{0.0f, 0.0f, 0.01f},
      spread{0.004f, 0.006f},
      sizeBase{0.1f, 0.1f},
      lifeBase{4.0f, 50.0f, 2.25f},
      growth{},
      windX{0.0f, 0.03f},
      windY{0.02f, 0.05f},
      windZ{},
      pull(2.0f),
      lastEmitTime(0.0),
      timedSpeed(0.0f),
      colourScaleR{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colourScaleG{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colourScaleB{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      profiledTexture(0),
      spriteProfile(),
      wholeQuads(false) {}

ParticleSystem::~ParticleSystem() {}

void ParticleSystem::Clear() {
    for (Particle& p : particles) p.alive = 0;
}

void ParticleSystem::Emit(int style, float x, float y, float z, double time, float speed) {
    if (time < lastEmitTime + kEmitInterval) return;
    if (!KnownStyle(style)) return;
    Particle* slot = nullptr;
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        if (particles[i].alive == 0) {
            slot = &particles[i];
            break;
        }
    }
    if (slot == nullptr) return;  // a full pool refuses; lastEmitTime stays
    Particle& p = *slot;
    const int s = style;

    // The random draws come in this order: velocity and size (or colour), then angle and spin.
    if (s == 2) {
        p.vx = StoreFloat(-pull * static_cast<double>(x));
        p.vy = 0.0f;
        p.vz = StoreFloat(-pull * static_cast<double>(z));
        p.size = 0.0f;
        p.r = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
        p.g = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
        p.b = StoreFloat(RandomUpTo(kStyle2ColourRange) + kStyle2ColourMin);
    } else {
        const double h = spread[s] * 0.5;
        p.vx = StoreFloat(RandomUpTo(spread[s]) - h);
        p.vy = StoreFloat(RandomUpTo(spread[s]) - h);
        p.vz = StoreFloat((RandomUpTo(spread[s]) - h) * kDepthSpread);
        p.size = StoreFloat(RandomUpTo(sizeBase[s]) + sizeBase[s]);
        if (s == 0) {
            p.r = 1.0f;
            p.g = 0.5f;
            p.b = 0.25f;
        } else {
            p.r = p.g = p.b = kSmokeGrey;
        }
    }

    lastEmitTime = time;
    p.alive = 1;
    p.x = x;
    p.y = y;
    p.z = z;
    p.angle = StoreFloat(RandomUpTo(kAngleRange));
    p.spin = StoreFloat(RandomUpTo(kSpinRange) - kSpinRange * 0.5);
    p.birthTime = time;
    p.life = StoreFloat(lifeBase[s] / static_cast<double>(speed));
    p.deathTime = time + p.life;
}

void ParticleSystem::RetimeLives(double time, float speed) {
    if (speed == timedSpeed || !(speed > 0.0f)) return;
    if (timedSpeed > 0.0f) {
        const double scale = static_cast<double>(timedSpeed) / speed;
        for (Particle& p : particles) {
            if (p.alive != 1) continue;
            const double lived = (time - p.birthTime) / p.life;
            p.life = StoreFloat(p.life * scale);
            p.birthTime = time - lived * p.life;
            p.deathTime = p.birthTime + p.life;
        }
    }
    timedSpeed = speed;
}

void ParticleSystem::Update(int style, double time, float dt, float speed) {
    const double k = static_cast<double>(dt) * kMotionScale * speed;
    const int s = style;
    for (int i = 0; i < capacity && i < kParticlePool; ++i) {
        Particle& p = particles[i];
        if (p.alive != 1) continue;
        if (time > p.deathTime) {  // still live at exactly its death time
            p.alive = 0;
            continue;
        }
        if (!KnownStyle(s)) continue;
        // Positions move with the velocity from before this step's acceleration.
        p.x = StoreFloat(p.x + (static_cast<double>(p.vx) + windX[s]) * k);
        p.y = StoreFloat(p.y + (static_cast<double>(p.vy) + windY[s]) * k);
        p.z = StoreFloat(p.z + (static_cast<double>(p.vz) + windZ[s]) * k);
        p.vy = StoreFloat(static_cast<double>(p.vy) + accelY[s]);  // per call, not scaled by dt
        p.angle = StoreFloat(p.angle + static_cast<double>(dt) * p.spin);
        p.size = StoreFloat(p.size + static_cast<double>(dt) * growth[s]);
    }
}
