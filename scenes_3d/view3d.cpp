#include "view3d.h"

#include <array>
#include <cmath>
#include <numbers>

#include "key_codes.h"
#include "tavrel.h"

TVec3 CamEye{}, CamRight{1, 0, 0}, CamUp{0, 1, 0}, CamFwd{0, 0, 1};
double CamStep = BoxBallsWireView.CamStep;
double NearPlane = BoxBallsWireView.NearPlane;
bool FlipScreenY = BoxBallsWireView.FlipScreenY;
TSphereForm SphereForm = BoxBallsWireView.SphereForm;

TSegmentSink ViewSegmentSink = DrawSegment;
THeldKeyPoll ViewKeyHeld = KeyIsHeld;

void UseViewVariant(const TViewVariant& variant) {
    NearPlane = variant.NearPlane;
    FlipScreenY = variant.FlipScreenY;
    CamStep = variant.CamStep;
    SphereForm = variant.SphereForm;
}

namespace {

struct TCamPoint {
    double A, B, C;  // along CamRight, CamUp, CamFwd
};

// In doubles, not the extended VecDot: the result only places pixels, and
// this runs twice for each of some 22,000 segments a frame.
TCamPoint ToCamera(double x, double y, double z) {
    const double dx = x - CamEye.X, dy = y - CamEye.Y, dz = z - CamEye.Z;
    return {dx * CamRight.X + dy * CamRight.Y + dz * CamRight.Z, dx * CamUp.X + dy * CamUp.Y + dz * CamUp.Z,
            dx * CamFwd.X + dy * CamFwd.Y + dz * CamFwd.Z};
}

// Cuts the segment to the part where the parameter of one coordinate keeps
// within [-ScreenGuardBand, ScreenGuardBand]; false when no part does.
bool ClipToBand(double p1, double p2, double& t0, double& t1) {
    const double d = p2 - p1;
    const double band = ScreenGuardBand;
    if (d == 0) return p1 >= -band && p1 <= band;
    double enter = (-band - p1) / d, leave = (band - p1) / d;
    if (enter > leave) std::swap(enter, leave);
    if (enter > t0) t0 = enter;
    if (leave < t1) t1 = leave;
    return t0 <= t1;
}
}  // namespace

void ClipProjectLine(double x1, double y1, double z1, double x2, double y2, double z2) {
    TCamPoint p = ToCamera(x1, y1, z1);
    TCamPoint q = ToCamera(x2, y2, z2);
    const double z0 = NearPlane;
    if (p.C < z0 && q.C < z0) return;
    if (p.C < z0) {
        const double t = (z0 - p.C) / (q.C - p.C);
        p = {p.A + (q.A - p.A) * t, p.B + (q.B - p.B) * t, z0};
    } else if (q.C < z0) {
        const double t = (z0 - q.C) / (p.C - q.C);
        q = {q.A + (p.A - q.A) * t, q.B + (p.B - q.B) * t, z0};
    }
    const int16_t right = GetRightEdge(), bottom = GetBottomEdge();
    const double cx = right / 2.0, cy = bottom / 2.0, f = cx;
    const double kp = f / p.C, kq = f / q.C;
    double px = p.A * kp + cx, py = p.B * kp + cy;
    double qx = q.A * kq + cx, qy = q.B * kq + cy;
    const double band = ScreenGuardBand;
    const bool inBand = std::fabs(px) <= band && std::fabs(py) <= band && std::fabs(qx) <= band &&
                        std::fabs(qy) <= band;
    if (!inBand) {
        if (!std::isfinite(px) || !std::isfinite(py) || !std::isfinite(qx) || !std::isfinite(qy))
            return;
        double t0 = 0, t1 = 1;
        if (!ClipToBand(px, qx, t0, t1) || !ClipToBand(py, qy, t0, t1)) return;
        const double dx = qx - px, dy = qy - py;
        if (t1 < 1) qx = px + dx * t1, qy = py + dy * t1;
        if (t0 > 0) px += dx * t0, py += dy * t0;
    }
    int16_t y1s = RealToCoord(py), y2s = RealToCoord(qy);
    if (FlipScreenY) {
        y1s = static_cast<int16_t>(bottom - y1s);
        y2s = static_cast<int16_t>(bottom - y2s);
    }
    ViewSegmentSink(RealToCoord(px), y1s, RealToCoord(qx), y2s);
}

namespace {

// The fixed angles of the two sphere forms and their sines and cosines.
struct TSphereAngles {
    int32_t Circles, PointsPerCircle;
    std::array<double, 21> CosPhi, SinPhi;
    std::array<double, 22> CosTheta, SinTheta;
};

TSphereAngles MakeSphereAngles(int32_t circles, int32_t points, double phiStep, double thetaStep) {
    TSphereAngles s{circles, points, {}, {}, {}, {}};
    for (int32_t k = 0; k < circles; k++) {
        s.CosPhi[k] = std::cos(k * phiStep);
        s.SinPhi[k] = std::sin(k * phiStep);
    }
    for (int32_t j = 0; j < points; j++) {
        s.CosTheta[j] = std::cos(j * thetaStep);
        s.SinTheta[j] = std::sin(j * thetaStep);
    }
    return s;
}

const TSphereAngles& SphereAngles(TSphereForm form) {
    constexpr double pi = std::numbers::pi;
    static const TSphereAngles openEnded = MakeSphereAngles(21, 22, pi / 20, 2 * pi / 20);
    static const TSphereAngles counted = MakeSphereAngles(20, 20, pi / 19, 2 * pi / 19);
    return form == TSphereForm::Counted ? counted : openEnded;
}
}  // namespace

void WireSphere(double x, double y, double z, double r) {
    const TSphereAngles& s = SphereAngles(SphereForm);
    for (int32_t k = 0; k < s.Circles; k++) {
        const double rc = r * s.CosPhi[k], rs = r * s.SinPhi[k];
        double px = 0, py = 0, pz = 0;
        for (int32_t j = 0; j < s.PointsPerCircle; j++) {
            const double nx = x + rc * s.SinTheta[j], ny = y + rs * s.SinTheta[j];
            const double nz = z + r * s.CosTheta[j];
            if (j > 0) ClipProjectLine(nx, ny, nz, px, py, pz);
            px = nx, py = ny, pz = nz;
        }
    }
}

void CamSetupFromEye(const TVec3& startEye) {
    VecSet(CamEye, startEye.X, -startEye.Z, startEye.Y);
    const double length = VecLength(CamEye);
    VecSet(CamFwd, -CamEye.X / length, -CamEye.Y / length, -CamEye.Z / length);
    VecSet(CamRight, CamFwd.Z, 0, -CamFwd.X);
    VecNormalize(CamRight);
    VecCross(CamUp, CamFwd, CamRight);
}

void CamMoveHeld() {
    struct TMove {
        int32_t Key;
        const TVec3* Axis;
        double Sign;
    };
    const std::array<TMove, 6> moves{{{VkUp, &CamFwd, 1},
                                      {VkDown, &CamFwd, -1},
                                      {VkA, &CamUp, -1},
                                      {VkZ, &CamUp, 1},
                                      {VkLeft, &CamRight, -1},
                                      {VkRight, &CamRight, 1}}};
    for (const TMove& m : moves) {
        if (!ViewKeyHeld(m.Key)) continue;
        TVec3 step;
        VecScale(step, *m.Axis, m.Sign * CamStep);
        VecAdd(CamEye, CamEye, step);
    }
}

void CamTurn(double a, double b, double c) {
    using TExt = long double;
    const TExt sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b);
    const TExt sc = std::sin(c), cc = std::cos(c);
    const TExt m00 = sa * sc * sb + ca * cc, m01 = -ca * sc * sb + sa * cc, m02 = sc * cb;
    const TExt m10 = -cb * sa, m11 = cb * ca, m12 = sb;
    const TExt m20 = sa * cc * sb - ca * sc, m21 = -ca * cc * sb - sa * sc, m22 = cc * cb;
    const TVec3 r = CamRight, u = CamUp, f = CamFwd;
    auto combine = [&](TVec3& out, TExt p, TExt q, TExt s) {
        out = {static_cast<double>(p * r.X + q * u.X + s * f.X),
               static_cast<double>(p * r.Y + q * u.Y + s * f.Y),
               static_cast<double>(p * r.Z + q * u.Z + s * f.Z)};
    };
    combine(CamRight, m00, m10, m20);
    combine(CamUp, m01, m11, m21);
    combine(CamFwd, m02, m12, m22);
}

void CamOrthonormalize() {
    VecNormalize(CamRight);
    VecCross(CamUp, CamFwd, CamRight);
}

int32_t CamPrevMouseX = 0, CamPrevMouseY = 0;

void CamDragReset() { CamPrevMouseX = CamPrevMouseY = 0; }

void CamTurnByDrag(int32_t x, int32_t y, int32_t buttons) {
    double pitch = 0, yaw = 0;
    if ((x != CamPrevMouseX || y != CamPrevMouseY) && buttons == 2) {
        pitch = (y - CamPrevMouseY) * DragRadiansPerPixel;
        yaw = (x - CamPrevMouseX) * DragRadiansPerPixel;
    }
    CamPrevMouseX = x;
    CamPrevMouseY = y;
    CamTurn(0, pitch, yaw);
    CamOrthonormalize();
}
