// A fixed pool of billboard particles and the per-style tables that steer their birth, motion
// and fading.
#pragma once

#include "particles/sprite_profile.h"

// One pool slot.
struct Particle {
    float x, y, z;     // position, scene units
    float vx, vy, vz;  // velocity, scene units per (0.2 x speed) second
    float angle;       // sprite rotation about the view axis, degrees
    float spin;        // change of angle, degrees per second
    float size;        // half the sprite's side before the caller's scale, scene units
    float r, g, b;     // base colour, 0..1
    float life;        // lifetime, seconds
    double birthTime;  // scene time of emission, seconds
    double deathTime;  // birthTime + life, seconds
    int alive;         // 1 while the slot holds a particle, 0 when free
};

constexpr int kParticlePool = 640;
constexpr double kEmitInterval = 0.025;  // seconds between emissions at the least: 40 a second
constexpr int kStyleSlots = 5;           // table entries; styles 0, 1 and 2 are accepted

inline bool KnownStyle(int style) {
    return style >= 0 && style <= 2;
}

class ParticleSystem {
  public:
    ParticleSystem();
    virtual ~ParticleSystem();

    // Frees every slot; the tables and lastEmitTime stay.
    void Clear();
    // Releases at most one particle at (x, y, z), no sooner than 0.025 s after the last one.
    void Emit(int style, float x, float y, float z, double time, float speed);
    // Re-times the live particles for a new speed: each keeps the fraction of its life it has
    // lived at `time`, and the rest of its life is scaled by the old speed over the new one, as
    // if it had been born at the new speed. Remembers the speed; the first call only remembers.
    void RetimeLives(double time, float speed);
    // Retires particles past their death time and moves the others by one step of dt seconds.
    void Update(int style, double time, float dt, float speed);
    // Measures how far the sprite texture reaches at each alpha level, once per texture name;
    // leaves the sprite texture bound. Called when the sprite is loaded; Draw calls it too, for
    // a texture name it has not measured yet.
    void ProfileSprite();
    // Draws every live particle as an additively blended, view-facing textured square, each in
    // a scissor box around the part of the sprite that can pass the cutoff at its fade; with
    // wholeQuads, every quad whole and no cutoff.
    void Draw(int style, float sizeScale, float brightness, float camX, float camY, float camZ,
              double time);

    Particle particles[kParticlePool];  // the pool
    int capacity;                       // slots scanned: 640
    unsigned int spriteTexture;         // texture on every particle; 0 until the textures load
    float accelY[kStyleSlots];          // added to vy at every update, per call
    float spread[kStyleSlots];          // width of the random initial velocity range
    float sizeBase[kStyleSlots];        // initial size is drawn from [sizeBase, 2 sizeBase)
    float lifeBase[kStyleSlots];        // lifetime = lifeBase / speed, seconds
    float growth[kStyleSlots];          // change of size per second
    float windX[kStyleSlots];           // constant drift added to the velocity when moving
    float windY[kStyleSlots];
    float windZ[kStyleSlots];
    float pull;                       // style 2: initial velocity is -pull x the point's x, z
    double lastEmitTime;              // scene time of the last emission, seconds
    float timedSpeed;                 // speed the live particles' lives are timed for, 0: none yet
    float colourScaleR[kStyleSlots];  // colour multipliers at drawing time
    float colourScaleG[kStyleSlots];
    float colourScaleB[kStyleSlots];
    unsigned int profiledTexture;  // the texture spriteProfile was measured from; 0: none
    SpriteProfile spriteProfile;   // how far the sprite reaches at each alpha level
    // False: the optimised pass. True: the plain pass, every quad drawn whole with no cutoff and
    // no scissor box, which must give the same picture; set only by tests that compare the two.
    bool wholeQuads;
};
