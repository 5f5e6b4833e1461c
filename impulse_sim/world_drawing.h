// How the simulator's world appears in the window: metres with y up become
// pixels with y down, and bodies, joints and contact points become outlines
// in the named colours.
#pragma once

#include <cstdint>

#include "world.h"

// Named colours of the picture.
enum : uint8_t {
    DynamicBodyColor = 250,  // white
    StaticBodyColor = 125,   // light cyan
    ProjectileColor = 128,   // light green
    JointColor = 105,        // green
    ContactColor = 131,      // light red
    StatusLineColor = 253,   // yellow
};

constexpr double DefaultViewZoom = 25;  // pixels per metre
constexpr double MinViewZoom = 5;
constexpr double MaxViewZoom = 35;
constexpr double DefaultViewOriginY = 50;

extern double ViewZoom;
extern double ViewOriginX;  // window x of the world origin
extern double ViewOriginY;  // height of the world origin above the bottom row
// The last body of the world is the thrown projectile.
extern bool ProjectileActive;

// The world origin in the middle of the window, at the default zoom.
void ResetView();

// Window coordinates of a world point, as the library takes them: nearest
// pixel, saturated far outside, then the low 16 bits.
int16_t WindowX(double x);
int16_t WindowY(double y);
// The world point under a window pixel.
TVec2 WindowToWorld(int32_t x, int32_t y);

void DrawBody(const TWorldBody& body, uint32_t color);
void DrawJoint(const TPinJoint& joint, uint32_t color);
// Small circles at the window points of the first count contacts.
void DrawContacts(const TContactPoints& contacts, int32_t count, uint32_t color);
// The step's hook: the contacts in their named colour.
void DrawStepContacts(const TContactPoints& contacts, int32_t count);
