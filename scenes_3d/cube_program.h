// cubes_gl: the cube simulation drawn through OpenGL from an orbit camera
// about the world origin, with a right-button shot of cube 29 from the eye
// along the ray through the pointer. One frame is one simulation step.
#pragma once

#include <array>
#include <cstdint>

#include "cube_sim.h"

constexpr const char* CubesCaption = "CUBURI IN 3D";

// Orbit camera: degrees, and the distance (the eye sits twice as far).
extern int32_t CamYaw;
extern int32_t CamPitch;
extern double CamDist;
extern int32_t CamFov;
// Pointer position of the previous frame.
extern int32_t PrevMouseX;
extern int32_t PrevMouseY;

constexpr double ViewAspect = 1.2;
constexpr double NearPlane = 2.0;
constexpr double FarPlane = 40000.0;
constexpr double ShotSpeed = 4;
// Outside these the software renderer draws nothing or turns the picture
// over, so keys stop at them.
constexpr int32_t MinFov = 1;
constexpr int32_t MaxFov = 179;

// Camera, settings and the thirty cubes of the start.
void InitCubes();
// The camera keys; any other code does nothing.
void ApplyCubeKey(uint8_t key);
// A pointer move with the left button alone turns the camera a degree a
// pixel; the previous position follows in every frame; both angles keep
// their remainder of 360.
void ApplyCubeMouse(int32_t x, int32_t y, uint16_t buttons);

using TGlMatrix = std::array<double, 16>;
using TGlViewport = std::array<int32_t, 4>;
// Cube 29 put at nearPoint, flying at ShotSpeed towards farPoint, not
// spinning.
void LaunchShotCube(const TVec3& nearPoint, const TVec3& farPoint);
// The shot along the ray through window pixel (x, y) under these matrices.
// False, and cube 29 untouched, when the ray cannot be found (a singular
// view, or a point that is not finite).
bool ShootCubeThrough(const TGlMatrix& modelView, const TGlMatrix& projection,
                      const TGlViewport& viewport, int32_t x, int32_t y);
// The same with the matrices of the frame just drawn.
bool ShootCube(int32_t x, int32_t y);

// Projection and eye of the frame; clears the buffers.
void SetCubeCamera();
void DrawCubeFaces(int32_t i);
void DrawBoxFrame();

// One frame: key, mouse, simulation, drawing, shown, shot. True when Esc is
// held at its end.
bool RunCubesFrame();
// The program; its exit status.
int CubesGLMain();
