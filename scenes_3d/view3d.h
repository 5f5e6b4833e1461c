// The software three-dimensional view of the wire-frame programs: a free-fly
// camera (an eye and three axes), segments taken into the camera frame,
// clipped at a near plane, projected in perspective and drawn with
// DrawSegment in the current colour, and wire spheres made of such segments.
// No depth buffer, no far plane.
#pragma once

#include <cstdint>

#include "vec3.h"

enum class TSphereForm : uint8_t {
    OpenEnded,  // 21 circles of 21 segments: 441
    Counted,    // 20 circles of 19 segments: 380
};

// What tells the programs' views apart.
struct TViewVariant {
    double NearPlane;
    bool FlipScreenY;  // projected y mirrored within the window
    double CamStep;    // eye movement per frame of a held key
    bool OrthonormalizeAfterTurn;
    TSphereForm SphereForm;
};

constexpr TViewVariant BoxBallsWireView{50, false, 5.5, true, TSphereForm::OpenEnded};
constexpr TViewVariant TerrainBallsWireView{1, true, 0.5, true, TSphereForm::OpenEnded};
constexpr TViewVariant Projectile3dView{10, false, 0.2, false, TSphereForm::Counted};

// Start eyes of the programs that set their camera with CamSetupFromEye.
constexpr TVec3 BoxBallsWireStartEye{1, 100, 100};
constexpr TVec3 TerrainBallsWireStartEye{0, 23, -25};

extern TVec3 CamEye, CamRight, CamUp, CamFwd;
extern double CamStep;
extern double NearPlane;
extern bool FlipScreenY;
extern TSphereForm SphereForm;

// Takes the variant's near plane, flip, step and sphere form.
void UseViewVariant(const TViewVariant& variant);

// Where the projected segments go and where held keys are read: the library
// in the programs, recorders in tests.
using TSegmentSink = void (*)(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
using THeldKeyPoll = bool (*)(int32_t virtualKey);
extern TSegmentSink ViewSegmentSink;
extern THeldKeyPoll ViewKeyHeld;

// Projected coordinates are clipped to this many pixels either side of the
// window's origin before they are rounded, so that far-off ends stay where
// they are instead of wrapping around the 16-bit range.
constexpr double ScreenGuardBand = 16384;

void ClipProjectLine(double x1, double y1, double z1, double x2, double y2, double z2);
void WireSphere(double x, double y, double z, double r);

void CamSetupFromEye(const TVec3& startEye);
void CamMoveHeld();
// Roll a, pitch b, yaw c in radians; all three axes from the old ones.
void CamTurn(double a, double b, double c);
// Unit CamRight, and CamUp at right angles from CamFwd x CamRight; CamFwd as
// it stands.
void CamOrthonormalize();

// The drag angle of one pointer axis: one radian per 256 pixels.
constexpr double DragRadiansPerPixel = 1.0 / 256;

// The pointer of the previous frame, for the drag.
extern int32_t CamPrevMouseX, CamPrevMouseY;
void CamDragReset();
// One frame's turn of the wire-frame programs that turn only while the
// pointer moves: pitch and yaw by the pointer's move while the button word
// is exactly 2 (the right button alone), else none; then CamTurn and
// CamOrthonormalize, every frame.
void CamTurnByDrag(int32_t x, int32_t y, int32_t buttons);
