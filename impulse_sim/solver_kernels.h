// The pieces of the sequential-impulse solver that the single-call routines
// (solver.cpp) and the solve of a world step (solve_step.cpp) share: one
// contact or joint worked on a pair of body copies.
#pragma once

#include "extended_ops.h"
#include "solver.h"
#include "world.h"

namespace solver_internal {

struct TVelocity {
    TVec2 Linear;
    double Angular;
};

// What the solver reads of a body, with the velocities it changes. Working on
// these and storing the velocities back is what working on whole record
// copies does, since nothing else changes; one cache line per body.
struct TSolverBody {
    TVelocity Real;
    TVelocity Pseudo;  // the split-impulse bias velocities
    double InvMass;
    double InvInertia;
};

inline TSolverBody LoadBody(const TWorldBody& b) {
    return {{b.Velocity, b.AngularVelocity},
            {b.BiasVelocity, b.BiasAngularVelocity},
            b.InvMass,
            b.InvInertia};
}

inline void StoreBody(TWorldBody& b, const TSolverBody& s) {
    b.Velocity = s.Real.Linear;
    b.AngularVelocity = s.Real.Angular;
    b.BiasVelocity = s.Pseudo.Linear;
    b.BiasAngularVelocity = s.Pseudo.Angular;
}

// The clamps of kept impulses, MaxOf (x, 0) and ClampReal (x, -limit,
// limit), with kept the double that holds x. Branches that change kept
// rather than conditional moves: the processor predicts a branch and goes on
// with x, while an x87 conditional move is slow and waits for the compare.
inline long double AtLeastZero(double& kept, long double x) {
    if (!(x > 0)) {
        kept = 0;
        x = 0;
    }
    return x;
}

inline long double WithinLimit(double& kept, long double x, long double limit) {
    if (!(x < limit)) {
        x = limit;
        kept = static_cast<double>(x);
    }
    if (-limit > x) {
        x = -limit;
        kept = static_cast<double>(x);
    }
    return x;
}

// Impulse p at offsets r1, r2: body 1 takes -p, body 2 takes +p.
inline void ApplyAt(TSolverBody& b1, const TVec2& r1, TSolverBody& b2, const TVec2& r2, TVecL p) {
    StoreRounded(b1.Real.Linear.X, ExtSubFrom(ExtMul(p.X, b1.InvMass), b1.Real.Linear.X));
    StoreRounded(b1.Real.Linear.Y, ExtSubFrom(ExtMul(p.Y, b1.InvMass), b1.Real.Linear.Y));
    StoreRounded(
        b1.Real.Angular,
        ExtSubFrom(ExtMul(ExtMul(p.Y, r1.X) - ExtMul(p.X, r1.Y), b1.InvInertia), b1.Real.Angular));
    StoreRounded(b2.Real.Linear.X, ExtAdd(ExtMul(p.X, b2.InvMass), b2.Real.Linear.X));
    StoreRounded(b2.Real.Linear.Y, ExtAdd(ExtMul(p.Y, b2.InvMass), b2.Real.Linear.Y));
    StoreRounded(
        b2.Real.Angular,
        ExtAdd(ExtMul(ExtMul(p.Y, r2.X) - ExtMul(p.X, r2.Y), b2.InvInertia), b2.Real.Angular));
}

// (v2 + w2 x r2) - (v1 + w1 x r1): how body 2's point at r2 moves against
// body 1's point at r1.
inline TVecL RelativeVelocity(const TVelocity& v1, const TVec2& r1, const TVelocity& v2,
                              const TVec2& r2) {
    return {ExtSubFrom(ExtMul(Ext(v2.Angular), r2.Y), v2.Linear.X) -
                ExtSubFrom(ExtMul(Ext(v1.Angular), r1.Y), v1.Linear.X),
            ExtAdd(ExtMul(Ext(v2.Angular), r2.X), v2.Linear.Y) -
                ExtAdd(ExtMul(Ext(v1.Angular), r1.X), v1.Linear.Y)};
}

inline TVec2 Tangent(const TVec2& n) { return {n.Y, -n.X}; }

// A contact direction d with r1 x d and r2 x d. A contact's offsets enter its
// iterations only through these, since (w x r) . d = w (r x d) and
// r x (p d) = p (r x d).
struct TDirection {
    TVec2 D;
    double Arm1, Arm2;
};

// The two directions of a contact. They depend only on where the contact
// and the bodies are, which no iteration changes, so a step works them out
// once.
struct TContactAxes {
    TDirection Normal, Tangent;
};

inline TDirection Direction(const TVec2& d, const TVec2& r1, const TVec2& r2) {
    return {d, Rounded(Cross(r1, d)), Rounded(Cross(r2, d))};
}

inline TContactAxes AxesOf(const TContactPoint& c, const TVec2& r1, const TVec2& r2) {
    return {Direction(c.Normal, r1, r2), Direction(Tangent(c.Normal), r1, r2)};
}

// The relative velocity along a direction.
inline long double SpeedAlong(const TVelocity& v1, const TVelocity& v2, const TDirection& d) {
    long double x = ExtMul(ExtSub(Ext(v2.Linear.X), v1.Linear.X), d.D.X);
    long double y = ExtMul(ExtSub(Ext(v2.Linear.Y), v1.Linear.Y), d.D.Y);
    return (x + y + ExtMul(Ext(v2.Angular), d.Arm2)) - ExtMul(Ext(v1.Angular), d.Arm1);
}

// ApplyAt of the impulse p d, to the real or the pseudo velocities.
inline void Push(const TSolverBody& b1, TVelocity& v1, const TSolverBody& b2, TVelocity& v2,
                 long double p, const TDirection& d) {
    long double p1 = ExtMul(p, b1.InvMass), p2 = ExtMul(p, b2.InvMass);
    StoreRounded(v1.Linear.X, ExtSubFrom(ExtMul(p1, d.D.X), v1.Linear.X));
    StoreRounded(v1.Linear.Y, ExtSubFrom(ExtMul(p1, d.D.Y), v1.Linear.Y));
    StoreRounded(v1.Angular, ExtSubFrom(ExtMul(ExtMul(p, b1.InvInertia), d.Arm1), v1.Angular));
    StoreRounded(v2.Linear.X, ExtAdd(ExtMul(p2, d.D.X), v2.Linear.X));
    StoreRounded(v2.Linear.Y, ExtAdd(ExtMul(p2, d.D.Y), v2.Linear.Y));
    StoreRounded(v2.Angular, ExtAdd(ExtMul(ExtMul(p, b2.InvInertia), d.Arm2), v2.Angular));
}

// 1 / (effective mass along d).
inline long double InverseMassAlong(const TSolverBody& b1, const TVec2& r1, const TSolverBody& b2,
                                    const TVec2& r2, const TVec2& d) {
    long double rd1 = Dot(r1, d);
    long double rd2 = Dot(r2, d);
    long double angular1 = ExtMul(Dot(r1, r1) - rd1 * rd1, b1.InvInertia);
    long double angular2 = ExtMul(Dot(r2, r2) - rd2 * rd2, b2.InvInertia);
    return ExtAdd(Ext(b1.InvMass), b2.InvMass) + angular1 + angular2;
}

// -factor invDt: the contact bias per metre of penetration beyond the slop.
inline long double BiasRate(double invDt) {
    long double factor = SplitImpulses ? 0.8L : 0.2L;
    if (!PositionCorrection) factor = 0;
    return -factor * invDt;
}

// The pre-step of one contact; position1 and position2 are the bodies'.
inline void PrepareContact(TContactPoint& c, TContactAxes& axes, const TVec2& position1,
                           TSolverBody& b1, const TVec2& position2, TSolverBody& b2,
                           long double biasRate) {
    TVec2 r1 = Sub(c.Position, position1);
    TVec2 r2 = Sub(c.Position, position2);
    TVec2 t = Tangent(c.Normal);
    StoreRounded(c.NormalMass, 1 / InverseMassAlong(b1, r1, b2, r2, c.Normal));
    StoreRounded(c.TangentMass, 1 / InverseMassAlong(b1, r1, b2, r2, t));
    double overlap = MinOf(0, Rounded(static_cast<long double>(c.Separation) + ContactSlop));
    StoreRounded(c.Bias, ExtMul(biasRate, overlap));
    if (AccumulateImpulses) {
        long double pn = c.NormalImpulse, pt = c.TangentImpulse;
        ApplyAt(
            b1, r1, b2, r2,
            {ExtMul(pn, c.Normal.X) + ExtMul(pt, t.X), ExtMul(pn, c.Normal.Y) + ExtMul(pt, t.Y)});
    }
    axes = AxesOf(c, r1, r2);
}

// One iteration of one contact. The switches are template arguments so that
// the iterations carry no tests of them.
template <bool Split, bool Accumulate>
inline void SolveContact(TContactPoint& c, const TContactAxes& axes, const double& friction,
                         TSolverBody& b1, TSolverBody& b2) {
    long double vn = SpeedAlong(b1.Real, b2.Real, axes.Normal);
    long double dPn = ExtMul(Split ? -vn : ExtAdd(-vn, c.Bias), c.NormalMass);
    if constexpr (Accumulate) {
        long double old = Ext(c.NormalImpulse);
        dPn = AtLeastZero(c.NormalImpulse, KeptIn(c.NormalImpulse, old + dPn)) - old;
    } else {
        double kept;
        dPn = AtLeastZero(kept, KeptIn(kept, dPn));
    }
    Push(b1, b1.Real, b2, b2.Real, dPn, axes.Normal);

    if constexpr (Split) {
        long double vnb = SpeedAlong(b1.Pseudo, b2.Pseudo, axes.Normal);
        long double dPnb = ExtMul(ExtAdd(-vnb, c.Bias), c.NormalMass);
        long double old = Ext(c.AccumulatedBiasImpulse);
        dPnb = AtLeastZero(c.AccumulatedBiasImpulse, KeptIn(c.AccumulatedBiasImpulse, old + dPnb)) -
               old;
        Push(b1, b1.Pseudo, b2, b2.Pseudo, dPnb, axes.Normal);
    }

    long double dPt = ExtMul(-SpeedAlong(b1.Real, b2.Real, axes.Tangent), c.TangentMass);
    if constexpr (Accumulate) {
        long double limit = Kept(ExtMul(Ext(friction), c.NormalImpulse));
        long double old = Ext(c.TangentImpulse);
        dPt = WithinLimit(c.TangentImpulse, KeptIn(c.TangentImpulse, old + dPt), limit) - old;
    } else {
        long double limit = Kept(friction * dPn);
        double kept;
        dPt = WithinLimit(kept, KeptIn(kept, dPt), limit);
    }
    Push(b1, b1.Real, b2, b2.Real, dPt, axes.Tangent);
}

inline void SolveContact(TContactPoint& c, const TContactAxes& axes, const double& friction,
                         TSolverBody& b1, TSolverBody& b2) {
    if (SplitImpulses) {
        if (AccumulateImpulses)
            SolveContact<true, true>(c, axes, friction, b1, b2);
        else
            SolveContact<true, false>(c, axes, friction, b1, b2);
    } else {
        if (AccumulateImpulses)
            SolveContact<false, true>(c, axes, friction, b1, b2);
        else
            SolveContact<false, false>(c, axes, friction, b1, b2);
    }
}

// A joint's anchors turned with the bodies' angles, and the inverse of its
// mass matrix K. Angles and masses stay put while a step solves, so a step
// works them out once.
struct TJointFrame {
    TVec2 R1, R2;
    TMat22 InvK;
};

inline TJointFrame JointFrameOf(const TPinJoint& joint, const TSolverBody& b1,
                                const TSolverBody& b2) {
    TJointFrame f;
    f.R1 = MulMat(BodyRotation(WorldBodies[joint.Body1]), joint.BodyPin1);
    f.R2 = MulMat(BodyRotation(WorldBodies[joint.Body2]), joint.BodyPin2);
    const TVec2& r1 = f.R1;
    const TVec2& r2 = f.R2;
    long double invMass = static_cast<long double>(b1.InvMass) + b2.InvMass;
    long double i1 = b1.InvInertia, i2 = b2.InvInertia;
    TMat22 k = {
        Rounded(invMass + i1 * r1.Y * r1.Y + i2 * r2.Y * r2.Y),
        Rounded(-i1 * r1.X * r1.Y - i2 * r2.X * r2.Y),
        Rounded(-i1 * r1.X * r1.Y - i2 * r2.X * r2.Y),
        Rounded(invMass + i1 * r1.X * r1.X + i2 * r2.X * r2.X),
    };
    MatOp(k, k, 'I', 0, f.InvK);
    return f;
}

inline void PrepareJointOn(TPinJoint& joint, const TJointFrame& f, TSolverBody& b1, TSolverBody& b2,
                           double invDt) {
    const TVec2& p1 = WorldBodies[joint.Body1].Position;
    const TVec2& p2 = WorldBodies[joint.Body2].Position;
    TVec2 gap = Sub(Add(p2, f.R2), Add(p1, f.R1));
    if (PositionCorrection)
        joint.Bias = Scale(-static_cast<long double>(joint.GapFeedback) * invDt, gap);
    else
        joint.Bias = {0, 0};
    if (WarmStarting)
        ApplyAt(b1, f.R1, b2, f.R2, {joint.AccumulatedImpulse.X, joint.AccumulatedImpulse.Y});
    else
        joint.AccumulatedImpulse = {0, 0};
}

inline void SolveJointOn(TPinJoint& joint, const TJointFrame& f, TSolverBody& b1, TSolverBody& b2) {
    const TMat22& m = f.InvK;
    TVecL dv = RelativeVelocity(b1.Real, f.R1, b2.Real, f.R2);
    long double c = Ext(joint.JointCompliance);
    TVecL rhs = {ExtSubFrom(dv.X, joint.Bias.X) - ExtMul(c, joint.AccumulatedImpulse.X),
                 ExtSubFrom(dv.Y, joint.Bias.Y) - ExtMul(c, joint.AccumulatedImpulse.Y)};
    TVecL impulse = {ExtMul(rhs.X, m.M11) + ExtMul(rhs.Y, m.M12),
                     ExtMul(rhs.X, m.M21) + ExtMul(rhs.Y, m.M22)};
    ApplyAt(b1, f.R1, b2, f.R2, impulse);
    StoreRounded(joint.AccumulatedImpulse.X, ExtAdd(impulse.X, joint.AccumulatedImpulse.X));
    StoreRounded(joint.AccumulatedImpulse.Y, ExtAdd(impulse.Y, joint.AccumulatedImpulse.Y));
}

}  // namespace solver_internal
