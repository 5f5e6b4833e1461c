#include "solver.h"

#include <algorithm>

#include "world.h"

namespace {

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

TSolverBody LoadBody(const TWorldBody& b) {
    return {{b.Velocity, b.AngularVelocity},
            {b.BiasVelocity, b.BiasAngularVelocity},
            b.InvMass,
            b.InvInertia};
}

void StoreBody(TWorldBody& b, const TSolverBody& s) {
    b.Velocity = s.Real.Linear;
    b.AngularVelocity = s.Real.Angular;
    b.BiasVelocity = s.Pseudo.Linear;
    b.BiasAngularVelocity = s.Pseudo.Angular;
}

// A value as it is kept: every stored result is a double.
double Rounded(long double x) { return static_cast<double>(x); }

// Impulse p at offsets r1, r2: body 1 takes -p, body 2 takes +p.
void ApplyAt(TSolverBody& b1, const TVec2& r1, TSolverBody& b2, const TVec2& r2, const TVecL& p) {
    long double m1 = b1.InvMass, m2 = b2.InvMass;
    b1.Real.Linear = {Rounded(b1.Real.Linear.X - m1 * p.X), Rounded(b1.Real.Linear.Y - m1 * p.Y)};
    b1.Real.Angular = Rounded(b1.Real.Angular - b1.InvInertia * Cross(r1, p));
    b2.Real.Linear = {Rounded(b2.Real.Linear.X + m2 * p.X), Rounded(b2.Real.Linear.Y + m2 * p.Y)};
    b2.Real.Angular = Rounded(b2.Real.Angular + b2.InvInertia * Cross(r2, p));
}

// (v2 + w2 x r2) - (v1 + w1 x r1): how body 2's point at r2 moves against
// body 1's point at r1.
TVecL RelativeVelocity(const TVelocity& v1, const TVec2& r1, const TVelocity& v2, const TVec2& r2) {
    return {(v2.Linear.X - static_cast<long double>(v2.Angular) * r2.Y) -
                (v1.Linear.X - static_cast<long double>(v1.Angular) * r1.Y),
            (v2.Linear.Y + static_cast<long double>(v2.Angular) * r2.X) -
                (v1.Linear.Y + static_cast<long double>(v1.Angular) * r1.X)};
}

TVec2 Tangent(const TVec2& n) { return {n.Y, -n.X}; }

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

TDirection Direction(const TVec2& d, const TVec2& r1, const TVec2& r2) {
    return {d, Rounded(Cross(r1, d)), Rounded(Cross(r2, d))};
}

TContactAxes AxesOf(const TContactPoint& c, const TVec2& r1, const TVec2& r2) {
    return {Direction(c.Normal, r1, r2), Direction(Tangent(c.Normal), r1, r2)};
}

// The relative velocity along a direction.
long double SpeedAlong(const TVelocity& v1, const TVelocity& v2, const TDirection& d) {
    return (static_cast<long double>(v2.Linear.X) - v1.Linear.X) * d.D.X +
           (static_cast<long double>(v2.Linear.Y) - v1.Linear.Y) * d.D.Y +
           v2.Angular * static_cast<long double>(d.Arm2) -
           v1.Angular * static_cast<long double>(d.Arm1);
}

// ApplyAt of the impulse p d, to the real or the pseudo velocities.
void Push(const TSolverBody& b1, TVelocity& v1, const TSolverBody& b2, TVelocity& v2, long double p,
          const TDirection& d) {
    long double p1 = b1.InvMass * p, p2 = b2.InvMass * p;
    v1.Linear = {Rounded(v1.Linear.X - p1 * d.D.X), Rounded(v1.Linear.Y - p1 * d.D.Y)};
    v1.Angular = Rounded(v1.Angular - b1.InvInertia * p * d.Arm1);
    v2.Linear = {Rounded(v2.Linear.X + p2 * d.D.X), Rounded(v2.Linear.Y + p2 * d.D.Y)};
    v2.Angular = Rounded(v2.Angular + b2.InvInertia * p * d.Arm2);
}

// 1 / (effective mass along d).
long double InverseMassAlong(const TSolverBody& b1, const TVec2& r1, const TSolverBody& b2,
                             const TVec2& r2, const TVec2& d) {
    long double rd1 = Dot(r1, d);
    long double rd2 = Dot(r2, d);
    return static_cast<long double>(b1.InvMass) + b2.InvMass +
           b1.InvInertia * (Dot(r1, r1) - rd1 * rd1) + b2.InvInertia * (Dot(r2, r2) - rd2 * rd2);
}

// -factor invDt: the contact bias per metre of penetration beyond the slop.
long double BiasRate(double invDt) {
    long double factor = SplitImpulses ? 0.8L : 0.2L;
    if (!PositionCorrection) factor = 0;
    return -factor * invDt;
}

// The pre-step of one contact; position1 and position2 are the bodies'.
void PrepareContact(TContactPoint& c, TContactAxes& axes, const TVec2& position1,
                    TSolverBody& b1, const TVec2& position2, TSolverBody& b2, long double biasRate) {
    TVec2 r1 = Sub(c.Position, position1);
    TVec2 r2 = Sub(c.Position, position2);
    TVec2 t = Tangent(c.Normal);
    c.NormalMass = Rounded(1 / InverseMassAlong(b1, r1, b2, r2, c.Normal));
    c.TangentMass = Rounded(1 / InverseMassAlong(b1, r1, b2, r2, t));
    double overlap = MinOf(0, Rounded(static_cast<long double>(c.Separation) + ContactSlop));
    c.Bias = Rounded(biasRate * overlap);
    if (AccumulateImpulses) {
        long double pn = c.NormalImpulse, pt = c.TangentImpulse;
        ApplyAt(b1, r1, b2, r2, {pn * c.Normal.X + pt * t.X, pn * c.Normal.Y + pt * t.Y});
    }
    axes = AxesOf(c, r1, r2);
}

// One iteration of one contact. The switches are template arguments so that
// the iterations carry no tests of them.
template <bool Split, bool Accumulate>
void SolveContact(TContactPoint& c, const TContactAxes& axes, double friction, TSolverBody& b1,
                  TSolverBody& b2) {
    long double vn = SpeedAlong(b1.Real, b2.Real, axes.Normal);
    long double dPn = Split ? -vn * c.NormalMass : (-vn + c.Bias) * c.NormalMass;
    if constexpr (Accumulate) {
        double old = c.NormalImpulse;
        c.NormalImpulse = MaxOf(Rounded(old + dPn), 0);
        dPn = static_cast<long double>(c.NormalImpulse) - old;
    } else {
        dPn = MaxOf(Rounded(dPn), 0);
    }
    Push(b1, b1.Real, b2, b2.Real, dPn, axes.Normal);

    if constexpr (Split) {
        long double vnb = SpeedAlong(b1.Pseudo, b2.Pseudo, axes.Normal);
        long double dPnb = (-vnb + c.Bias) * c.NormalMass;
        double old = c.AccumulatedBiasImpulse;
        c.AccumulatedBiasImpulse = MaxOf(Rounded(old + dPnb), 0);
        dPnb = static_cast<long double>(c.AccumulatedBiasImpulse) - old;
        Push(b1, b1.Pseudo, b2, b2.Pseudo, dPnb, axes.Normal);
    }

    long double dPt = -SpeedAlong(b1.Real, b2.Real, axes.Tangent) * c.TangentMass;
    if constexpr (Accumulate) {
        double limit = Rounded(friction * static_cast<long double>(c.NormalImpulse));
        double old = c.TangentImpulse;
        c.TangentImpulse = ClampReal(Rounded(old + dPt), -limit, limit);
        dPt = static_cast<long double>(c.TangentImpulse) - old;
    } else {
        double limit = Rounded(friction * dPn);
        dPt = ClampReal(Rounded(dPt), -limit, limit);
    }
    Push(b1, b1.Real, b2, b2.Real, dPt, axes.Tangent);
}

void SolveContact(TContactPoint& c, const TContactAxes& axes, double friction, TSolverBody& b1,
                  TSolverBody& b2) {
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

TJointFrame JointFrameOf(const TPinJoint& joint, const TSolverBody& b1, const TSolverBody& b2) {
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

void PrepareJoint(TPinJoint& joint, const TJointFrame& f, TSolverBody& b1, TSolverBody& b2,
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

void SolveJoint(TPinJoint& joint, const TJointFrame& f, TSolverBody& b1, TSolverBody& b2) {
    const TMat22& m = f.InvK;
    TVecL dv = RelativeVelocity(b1.Real, f.R1, b2.Real, f.R2);
    long double c = joint.JointCompliance;
    TVecL rhs = {joint.Bias.X - dv.X - c * joint.AccumulatedImpulse.X,
                 joint.Bias.Y - dv.Y - c * joint.AccumulatedImpulse.Y};
    TVecL impulse = {m.M11 * rhs.X + m.M12 * rhs.Y, m.M21 * rhs.X + m.M22 * rhs.Y};
    ApplyAt(b1, f.R1, b2, f.R2, impulse);
    joint.AccumulatedImpulse = {Rounded(joint.AccumulatedImpulse.X + impulse.X),
                                Rounded(joint.AccumulatedImpulse.Y + impulse.Y)};
}

// The single-call routines work on copies of the two records and store both,
// body 1 first: when a joint ties a body to itself, body 2's copy is the one
// that stays.
template <class Work>
void OnBodyCopies(int32_t slot1, int32_t slot2, Work work) {
    TSolverBody b1 = LoadBody(WorldBodies[slot1]);
    TSolverBody b2 = LoadBody(WorldBodies[slot2]);
    work(b1, b2);
    StoreBody(WorldBodies[slot1], b1);
    StoreBody(WorldBodies[slot2], b2);
}

// The bodies while a step solves, and what the step works out once per
// contact and joint.
std::array<TSolverBody, WorldCapacity + 1> SolverBodies;
std::array<std::array<TContactAxes, 2>, WorldCapacity + 1> PairAxes;
std::array<TJointFrame, WorldCapacity + 1> JointFrames;

// Work on the step's bodies of a joint, as OnBodyCopies would.
template <class Work>
void OnJointBodies(const TPinJoint& joint, Work work) {
    TSolverBody& b2 = SolverBodies[joint.Body2];
    if (joint.Body1 != joint.Body2) {
        work(SolverBodies[joint.Body1], b2);
    } else {
        TSolverBody copy1 = b2;
        work(copy1, b2);
    }
}

template <bool Split, bool Accumulate>
void RunIterations() {
    for (int32_t k = 0; k < SolverIterations; k++) {
        for (int32_t i = 1; i <= WorldContactPairCount; i++) {
            TContactPair& pair = WorldContactPairs[i];
            // Pairs of the step join two different bodies (Body1 < Body2).
            TSolverBody& b1 = SolverBodies[pair.Body1];
            TSolverBody& b2 = SolverBodies[pair.Body2];
            for (int32_t n = 0; n < pair.ContactCount; n++)
                SolveContact<Split, Accumulate>(pair.Contacts[n], PairAxes[i][n], pair.Friction, b1,
                                                b2);
        }
        for (int32_t i = 1; i <= WorldJointCount; i++) {
            TPinJoint& joint = WorldJoints[i];
            OnJointBodies(joint, [&](TSolverBody& b1, TSolverBody& b2) {
                SolveJoint(joint, JointFrames[i], b1, b2);
            });
        }
    }
}

}  // namespace

void InitJoint(int32_t body1, int32_t body2, TPinJoint& joint, double anchorX, double anchorY,
               double jointCompliance, double gapFeedback) {
    joint = TPinJoint{};
    joint.Body1 = body1;
    joint.Body2 = body2;
    joint.JointCompliance = jointCompliance;
    joint.GapFeedback = gapFeedback;
    // A slot outside the table leaves the pins at zero; AddWorldJoint refuses
    // such a joint.
    if (!ValidBodySlot(body1) || !ValidBodySlot(body2)) return;
    TVec2 anchor = {anchorX, anchorY};
    const TWorldBody& b1 = WorldBodies[body1];
    const TWorldBody& b2 = WorldBodies[body2];
    joint.BodyPin1 = MulMatT(BodyRotation(b1), Sub(anchor, b1.Position));
    joint.BodyPin2 = MulMatT(BodyRotation(b2), Sub(anchor, b2.Position));
}

void PrepareJoint(TPinJoint& joint, double invDt) {
    OnBodyCopies(joint.Body1, joint.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
        PrepareJoint(joint, JointFrameOf(joint, b1, b2), b1, b2, invDt);
    });
}

void SolveJointOnce(TPinJoint& joint) {
    OnBodyCopies(joint.Body1, joint.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
        SolveJoint(joint, JointFrameOf(joint, b1, b2), b1, b2);
    });
}

void PrepareContacts(TContactPair& pair, double invDt) {
    long double biasRate = BiasRate(invDt);
    const TVec2& p1 = WorldBodies[pair.Body1].Position;
    const TVec2& p2 = WorldBodies[pair.Body2].Position;
    OnBodyCopies(pair.Body1, pair.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
        TContactAxes unused;
        for (int32_t i = 0; i < pair.ContactCount; i++)
            PrepareContact(pair.Contacts[i], unused, p1, b1, p2, b2, biasRate);
    });
}

void SolveContactsOnce(TContactPair& pair) {
    const TVec2& p1 = WorldBodies[pair.Body1].Position;
    const TVec2& p2 = WorldBodies[pair.Body2].Position;
    OnBodyCopies(pair.Body1, pair.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
        for (int32_t i = 0; i < pair.ContactCount; i++) {
            TContactPoint& c = pair.Contacts[i];
            SolveContact(c, AxesOf(c, Sub(c.Position, p1), Sub(c.Position, p2)), pair.Friction, b1,
                         b2);
        }
    });
}

void SolveStep(double invDt) {
    // Joints may name slots past the body count; the solver changes those too.
    int32_t last = WorldBodyCount;
    for (int32_t i = 1; i <= WorldJointCount; i++)
        last = std::max({last, WorldJoints[i].Body1, WorldJoints[i].Body2});
    for (int32_t i = 1; i <= last; i++) SolverBodies[i] = LoadBody(WorldBodies[i]);

    long double biasRate = BiasRate(invDt);
    for (int32_t i = 1; i <= WorldContactPairCount; i++) {
        TContactPair& pair = WorldContactPairs[i];
        const TVec2& p1 = WorldBodies[pair.Body1].Position;
        const TVec2& p2 = WorldBodies[pair.Body2].Position;
        for (int32_t n = 0; n < pair.ContactCount; n++)
            PrepareContact(pair.Contacts[n], PairAxes[i][n], p1, SolverBodies[pair.Body1], p2,
                           SolverBodies[pair.Body2], biasRate);
    }
    for (int32_t i = 1; i <= WorldJointCount; i++) {
        TPinJoint& joint = WorldJoints[i];
        OnJointBodies(joint, [&](TSolverBody& b1, TSolverBody& b2) {
            JointFrames[i] = JointFrameOf(joint, b1, b2);
            PrepareJoint(joint, JointFrames[i], b1, b2, invDt);
        });
    }

    if (SplitImpulses) {
        if (AccumulateImpulses)
            RunIterations<true, true>();
        else
            RunIterations<true, false>();
    } else {
        if (AccumulateImpulses)
            RunIterations<false, true>();
        else
            RunIterations<false, false>();
    }

    for (int32_t i = 1; i <= last; i++) StoreBody(WorldBodies[i], SolverBodies[i]);
}
