// What the two box-ball programs share around the simulation: their running
// and vector switches, the keys, the click that adds a red ball, and the
// pointer state of the previous frame.
#pragma once

#include <cstdint>

#include "key_codes.h"

constexpr const char* BoxBallsCaption = "BILE IN CUTIE";
constexpr double BoxTimeStep = 0.01;

// Key values of the frame: a code after a 0 prefix counts like the typed
// character, so the close box's 107 turns the last ball like 'k'.
enum : uint8_t {
    BoxKeyNearer = 'a',
    BoxKeyTurnXyDown = 'j',
    BoxKeyTurnXzDown = 'k',
    BoxKeyTurnXyUp = 'l',
    BoxKeyTurnXzUp = 'o',
    BoxKeyFarther = 'z',
};

extern double SceneScale;  // the box unit L
extern bool Running;
extern bool ShowVectors;
extern int32_t PrevMouseX, PrevMouseY;
extern int32_t PrevMouseButtons;

// The orbit camera of the OpenGL program, in degrees.
extern double CamYaw, CamPitch, CamDist;
extern int32_t CamFov;
extern double CamAspect;

// Switches and pointer state as a program starts.
void ResetBoxControls(double sceneScale);
void ResetOrbitCamera();

// orbitKeys: 'a' and 'z' move the orbit camera (the OpenGL program). 'a' is
// ignored where it would take CamDist to 0 or below: nothing is drawn there.
void DispatchBoxKey(uint8_t key, bool orbitKeys);
// A red ball once per press of the left button alone; the word is kept as
// the previous frame's.
void HandleLeftClick(int32_t buttons);
// The right button alone turns the orbit one degree per pixel.
void OrbitByDrag(int32_t x, int32_t y, int32_t buttons);
