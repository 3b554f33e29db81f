// The scene's four global objects, defined together so that they are constructed in this order
// (and destroyed in the reverse order) before the program entry runs.
#include "particles/particle_system.h"
#include "scene/settings.h"
#include "scene/star_field.h"
#include "text/text_overlay.h"

TextOverlay textOverlay;
SceneSettings settings;
StarField universe;
ParticleSystem particleSystem;
