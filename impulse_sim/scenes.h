// The eleven demonstration worlds of the simulator and the thrown projectile.
#pragma once

#include <cstdint>

#include "random_source.h"

constexpr int32_t SceneCount = 11;

// Adds the bodies and joints of scene 1..11 to an empty world; any other
// number adds nothing. Scenes 3 and 11 draw from random.
void BuildScene(int32_t scene, TRandomSource& random);

// Adds a random body thrown at the world origin. When projectileActive (the
// last body is the previous projectile) the new one takes that slot. Returns
// whether it was added: with 100 bodies and no projectile to replace it is
// not, and the caller must not take the last body for a projectile.
bool LaunchProjectile(bool projectileActive, TRandomSource& random);
