#include "cube_sim.h"

#include <cmath>

#include "extended_ops.h"

std::array<TCube, CubeCount> Cubes;

TVec3 BoxMin{-64, -64, -64};
TVec3 BoxMax{64, 128, 64};
double Stiffness = 0.02;
double Damping = 0.01;
double CubeGravity = 0.002;
double Subdiv = 4.0;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double MaxImpulse = 8;
constexpr double MaxAngImpulse = Pi / 6;
constexpr double RestSpeed = 0.001;
constexpr double RotationStep = Pi / 8;
constexpr double ParallelTolerance = 1e-7;
constexpr double AngularInertia = 24;

void ClampLength(TVec3& v, double limit) {
    if (VecLength(v) > limit) {
        VecNormalize(v);
        VecScale(v, v, limit);
    }
}

// Pos + MatTransMulVec(Axis, p): a body point in world coordinates.
void WorldPoint(const TCube& cube, const TVec3& p, TVec3& out) {
    TVec3 offset;
    MatTransMulVec(cube.Axis, p, offset);
    VecAdd(out, cube.Pos, offset);
}

// The push out of a cube through the face nearest along the axis, for a
// point at body coordinate q on that axis.
double FacePush(double q) {
    if (q > 0) return Rounded((CubeHalfEdge - static_cast<long double>(q)) * Stiffness);
    return Rounded(-(static_cast<long double>(q) + CubeHalfEdge) * Stiffness);
}

// The spring and damping of sample point P of cube i found inside cube j at
// body coordinates q of j; F on i, -F on j.
void PushApart(TCube& ci, TCube& cj, const TVec3& p, const TVec3& q) {
    TVec3 vi, vj, dv;
    PointVelocity(cj, p, vj);
    PointVelocity(ci, p, vi);
    VecSub(dv, vj, vi);
    VecScale(dv, dv, Damping);

    TVec3 f, force;
    ContactPush(q, f);
    MatTransMulVec(cj.Axis, f, force);
    VecAdd(force, force, dv);
    ApplyImpulse(ci, force, p);
    VecScale(force, force, -1);
    ApplyImpulse(cj, force, p);
}

// Most sample points of a pair lie plainly outside the other cube. A quick
// estimate in double precision finds them; the exact test decides only for
// points the estimate cannot rule out. Estimate and exact test compute the
// same expression and differ by rounding, many orders of magnitude below
// CullMargin, so no point is ever ruled out that the exact test would take,
// and the points taken, and their order, stay the same.
constexpr double CullMargin = 1e-9;
constexpr double CullMarginPerUnit = 1e-12;  // of the largest coordinate

double MaxAbsCoordinate(const TVec3& v) {
    return std::fmax(std::fabs(v.X), std::fmax(std::fabs(v.Y), std::fabs(v.Z)));
}

// Body coordinates of cube j of the lattice points of cube i, estimated:
// q(a, b, c) = Offset + Column[0] L[a] + Column[1] L[b] + Column[2] L[c].
struct TPairEstimate {
    std::array<double, 3> Offset;
    std::array<std::array<double, 3>, 3> Column;  // [lattice axis][axis of j]
};

void EstimatePair(const TCube& ci, const TCube& cj, TPairEstimate& e) {
    const double d[3] = {ci.Pos.X - cj.Pos.X, ci.Pos.Y - cj.Pos.Y, ci.Pos.Z - cj.Pos.Z};
    for (int32_t k = 0; k < 3; k++) {
        const TVec3& r = cj.Axis.Rows[k];
        e.Offset[k] = r.X * d[0] + r.Y * d[1] + r.Z * d[2];
        for (int32_t l = 0; l < 3; l++) {
            const TVec3& a = ci.Axis.Rows[l];
            e.Column[l][k] = r.X * a.X + r.Y * a.Y + r.Z * a.Z;
        }
    }
}

// Whether some point within reach of centre (on each axis of j) may lie
// inside cube j.
bool MayReachInside(const std::array<double, 3>& centre, const std::array<double, 3>& reach,
                    double limit) {
    for (int32_t k = 0; k < 3; k++)
        if (centre[k] - reach[k] >= limit || centre[k] + reach[k] <= -limit) return false;
    return true;
}

void SampleContacts(int32_t i, int32_t j, const std::array<double, LatticeSide>& lattice,
                    double latticeReach) {
    TCube& ci = Cubes[i];
    TCube& cj = Cubes[j];
    TPairEstimate e;
    EstimatePair(ci, cj, e);
    const double limit = CubeHalfEdge + CullMargin +
                         CullMarginPerUnit * (MaxAbsCoordinate(ci.Pos) + MaxAbsCoordinate(cj.Pos));
    std::array<double, 3> reachBC, reachC;
    for (int32_t k = 0; k < 3; k++) {
        reachC[k] = latticeReach * std::fabs(e.Column[2][k]);
        reachBC[k] = latticeReach * std::fabs(e.Column[1][k]) + reachC[k];
    }
    const std::array<double, 3> none{0, 0, 0};
    for (int32_t a = 0; a < LatticeSide; a++) {
        std::array<double, 3> qa;
        for (int32_t k = 0; k < 3; k++) qa[k] = e.Offset[k] + e.Column[0][k] * lattice[a];
        if (!MayReachInside(qa, reachBC, limit)) continue;
        for (int32_t b = 0; b < LatticeSide; b++) {
            std::array<double, 3> qb;
            for (int32_t k = 0; k < 3; k++) qb[k] = qa[k] + e.Column[1][k] * lattice[b];
            if (!MayReachInside(qb, reachC, limit)) continue;
            for (int32_t c = 0; c < LatticeSide; c++) {
                std::array<double, 3> qc;
                for (int32_t k = 0; k < 3; k++) qc[k] = qb[k] + e.Column[2][k] * lattice[c];
                if (!MayReachInside(qc, none, limit)) continue;

                TVec3 p, world, rel, q;
                LatticePoint(a, b, c, p);
                WorldPoint(ci, p, world);
                VecSub(rel, world, cj.Pos);
                MatMulVec(cj.Axis, rel, q);
                if (!(std::fabs(q.X) < CubeHalfEdge && std::fabs(q.Y) < CubeHalfEdge &&
                      std::fabs(q.Z) < CubeHalfEdge))
                    continue;
                PushApart(ci, cj, world, q);
            }
        }
    }
}

// Whether body point p of the cube, estimated in double precision, lies
// more than margin inside every face of the box.
bool PlainlyInsideBox(const TCube& cube, const TVec3& p, double margin) {
    const TVec3 &a0 = cube.Axis.Rows[0], &a1 = cube.Axis.Rows[1], &a2 = cube.Axis.Rows[2];
    const double x = cube.Pos.X + p.X * a0.X + p.Y * a1.X + p.Z * a2.X;
    const double y = cube.Pos.Y + p.X * a0.Y + p.Y * a1.Y + p.Z * a2.Y;
    const double z = cube.Pos.Z + p.X * a0.Z + p.Y * a1.Z + p.Z * a2.Z;
    return x > BoxMin.X + margin && x < BoxMax.X - margin && y > BoxMin.Y + margin &&
           y < BoxMax.Y - margin && z > BoxMin.Z + margin && z < BoxMax.Z - margin;
}

double WallPush(double face, double p) {
    return Rounded((static_cast<long double>(face) - p) * Stiffness);
}

}  // namespace

bool CubesWithinReach(int32_t i, int32_t j) {
    TVec3 apart;
    VecSub(apart, Cubes[j].Pos, Cubes[i].Pos);
    return VecLength(apart) < ContactReach;
}

bool NearAWall(const TVec3& c) {
    const long double reach = WallReach;
    return c.X < BoxMin.X + reach || c.X > BoxMax.X - reach || c.Y < BoxMin.Y + reach ||
           c.Y > BoxMax.Y - reach || c.Z < BoxMin.Z + reach || c.Z > BoxMax.Z - reach;
}

void ContactPush(const TVec3& q, TVec3& f) {
    const double ax = std::fabs(q.X), ay = std::fabs(q.Y), az = std::fabs(q.Z);
    VecSet(f, 0, 0, 0);
    // Equal magnitudes go to the later axis.
    if (ay < ax && az < ax)
        f.X = FacePush(q.X);
    else if (az < ay)
        f.Y = FacePush(q.Y);
    else
        f.Z = FacePush(q.Z);
}

void MatMulVec(const TMat3& m, const TVec3& v, TVec3& out) {
    const TVec3 in = v;
    out.X = VecDot(m.Rows[0], in);
    out.Y = VecDot(m.Rows[1], in);
    out.Z = VecDot(m.Rows[2], in);
}

void MatTransMulVec(const TMat3& m, const TVec3& v, TVec3& out) {
    const TVec3 in = v;
    const TVec3 &r0 = m.Rows[0], &r1 = m.Rows[1], &r2 = m.Rows[2];
    out.X = Rounded(static_cast<long double>(in.X) * r0.X + static_cast<long double>(in.Y) * r1.X +
                    static_cast<long double>(in.Z) * r2.X);
    out.Y = Rounded(static_cast<long double>(in.X) * r0.Y + static_cast<long double>(in.Y) * r1.Y +
                    static_cast<long double>(in.Z) * r2.Y);
    out.Z = Rounded(static_cast<long double>(in.X) * r0.Z + static_cast<long double>(in.Y) * r1.Z +
                    static_cast<long double>(in.Z) * r2.Z);
}

void ApplyImpulse(TCube& cube, const TVec3& j, const TVec3& p) {
    const TVec3 impulse = j, point = p;  // either may be a field of the cube
    TVec3 arm, turn;
    VecAdd(cube.Impulse, cube.Impulse, impulse);
    VecSub(arm, point, cube.Pos);
    VecCross(turn, arm, impulse);
    VecAdd(cube.AngImpulse, cube.AngImpulse, turn);
}

void PointVelocity(const TCube& cube, const TVec3& p, TVec3& out) {
    TVec3 arm, spin;
    VecSub(arm, p, cube.Pos);
    VecCross(spin, cube.Omega, arm);
    VecAdd(out, cube.Vel, spin);
}

void RotateVector(const TVec3& v, const TVec3& w, TVec3& out) {
    const double angle = VecLength(w);
    if (angle == 0 || VecLength(v) == 0) return;
    TVec3 along = v, axis = w;
    VecNormalize(along);
    VecNormalize(axis);
    if (std::fabs(static_cast<long double>(VecDot(along, axis)) - 1) <= ParallelTolerance) {
        out = v;
        return;
    }
    // Passes of at most one step; llrint rounds ties to even.
    int64_t passes = 1;
    if (angle > RotationStep)
        passes = std::llrint(static_cast<long double>(angle) / RotationStep + 0.5L);

    TVec3 onAxis, across, half;
    VecScale(onAxis, axis, VecDot(axis, v));
    VecSub(across, v, onAxis);
    half.X = Rounded(static_cast<long double>(w.X) / passes);
    half.Y = Rounded(static_cast<long double>(w.Y) / passes);
    half.Z = Rounded(static_cast<long double>(w.Z) / passes);
    VecScale(half, half, 0.5);
    // Each pass mirrors R in the line of R + (H/2) x R: a turn by
    // 2 atan(|H|/2) that keeps the length.
    for (int64_t k = 0; k < passes; k++) {
        TVec3 m, back;
        VecCross(m, half, across);
        VecAdd(m, across, m);
        VecNormalize(m);
        VecScale(m, m, VecDot(m, across));
        VecSub(back, across, m);
        VecScale(back, back, 2);
        VecSub(across, across, back);
    }
    VecAdd(out, across, onAxis);
}

void LatticePoint(int32_t a, int32_t b, int32_t c, TVec3& out) {
    const long double edge = 2 * CubeHalfEdge;
    out.X = Rounded(edge * a / Subdiv - CubeHalfEdge);
    out.Y = Rounded(edge * b / Subdiv - CubeHalfEdge);
    out.Z = Rounded(edge * c / Subdiv - CubeHalfEdge);
}

void GatherCubeContacts() {
    std::array<double, LatticeSide> lattice;
    double latticeReach = 0;
    for (int32_t a = 0; a < LatticeSide; a++) {
        TVec3 p;
        LatticePoint(a, a, a, p);
        lattice[a] = p.X;
        latticeReach = std::fmax(latticeReach, std::fabs(p.X));
    }
    for (int32_t i = 0; i < CubeCount; i++)
        for (int32_t j = 0; j < CubeCount; j++) {
            if (j == i || !CubesWithinReach(i, j)) continue;
            SampleContacts(i, j, lattice, latticeReach);
        }
}

void ApplyWallForces(int32_t i) {
    TCube& cube = Cubes[i];
    if (!NearAWall(cube.Pos)) return;
    const double margin = CullMargin + CullMarginPerUnit * MaxAbsCoordinate(cube.Pos);
    for (int32_t a = 0; a < LatticeSide; a++)
        for (int32_t b = 0; b < LatticeSide; b++)
            for (int32_t c = 0; c < LatticeSide; c++) {
                TVec3 p, world;
                LatticePoint(a, b, c, p);
                // A point well inside the box gets the zero force, which adds
                // zeros to sums that never hold -0: a quick estimate skips it.
                if (PlainlyInsideBox(cube, p, margin)) continue;
                WorldPoint(cube, p, world);
                TVec3 f{0, 0, 0};
                bool damped = false;
                if (world.X < BoxMin.X) f.X = WallPush(BoxMin.X, world.X), damped = true;
                if (world.X > BoxMax.X) f.X = WallPush(BoxMax.X, world.X), damped = true;
                if (world.Y < BoxMin.Y) f.Y = WallPush(BoxMin.Y, world.Y), damped = true;
                if (world.Y > BoxMax.Y) f.Y = WallPush(BoxMax.Y, world.Y), damped = true;
                // The Z faces push without damping.
                if (world.Z < BoxMin.Z) f.Z = WallPush(BoxMin.Z, world.Z);
                if (world.Z > BoxMax.Z) f.Z = WallPush(BoxMax.Z, world.Z);
                if (damped) {
                    TVec3 v;
                    PointVelocity(cube, world, v);
                    VecScale(v, v, Damping);
                    VecSub(f, f, v);
                }
                ApplyImpulse(cube, f, world);
            }
}

void IntegrateCube(int32_t i) {
    TCube& cube = Cubes[i];
    ClampLength(cube.Impulse, MaxImpulse);
    VecAdd(cube.Vel, cube.Vel, cube.Impulse);
    VecSet(cube.Impulse, 0, CubeGravity, 0);
    VecAdd(cube.Pos, cube.Pos, cube.Vel);
    ClampLength(cube.AngImpulse, MaxAngImpulse);
    if (VecLength(cube.Vel) < RestSpeed) VecSet(cube.Vel, 0, 0, 0);
    if (VecLength(cube.Omega) < RestSpeed) VecSet(cube.Omega, 0, 0, 0);
    cube.Omega.X = Rounded(cube.Omega.X + static_cast<long double>(cube.AngImpulse.X) / AngularInertia);
    cube.Omega.Y = Rounded(cube.Omega.Y + static_cast<long double>(cube.AngImpulse.Y) / AngularInertia);
    cube.Omega.Z = Rounded(cube.Omega.Z + static_cast<long double>(cube.AngImpulse.Z) / AngularInertia);
    VecSet(cube.AngImpulse, 0, 0, 0);
    if (VecLength(cube.Omega) > RestSpeed) {
        // All three from the old axes. Not re-orthonormalised: each turn
        // keeps lengths, and the drift stays far below anything visible.
        TMat3 turned = cube.Axis;
        for (int32_t k = 0; k < 3; k++) RotateVector(cube.Axis.Rows[k], cube.Omega, turned.Rows[k]);
        cube.Axis = turned;
    }
}

void AdvanceCube(int32_t i) {
    if (i < ShotCube) ApplyWallForces(i);
    IntegrateCube(i);
}

void StepCubes() {
    GatherCubeContacts();
    for (int32_t i = 0; i < CubeCount; i++) AdvanceCube(i);
}
