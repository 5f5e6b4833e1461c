// The OpenGL programs' spheres (gluSphere, 30 slices and 30 stacks, a default
// quadric) from display lists: the same few radii come back every frame, and
// a list replays a sphere as one draw where immediate mode takes thirty. The
// lists leave out the back faces, which never show.
// The lists belong to the context that was current when they were compiled:
// a program frees them with FreeSphereLists while that context is still
// current, before it selects another target or closes the window.
#pragma once

#include <cstdint>

// Lists the cache holds at the most; further radii are drawn directly, as
// gluSphere draws them.
constexpr int32_t SphereListCapacity = 64;
extern int32_t SphereListCount;

// The sphere about the current origin, drawn as gluSphere(quadric, radius,
// 30, 30) draws it, pixel for pixel; compiled into a list on the radius's
// first use.
void DrawListedSphere(double radius);
// Deletes the lists and the quadric. Harmless when nothing was drawn.
void FreeSphereLists();
