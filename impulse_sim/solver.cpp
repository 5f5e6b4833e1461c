#include "solver.h"

#include "world.h"

namespace {

struct TVelocity {
    TVec2 Linear;
    double Angular;
};

// What the solver reads of a body, with the velocities it changes: working
// on these copies and storing the velocities back is what working on whole
// record copies would do, since nothing else changes.
struct TSolverBody {
    TVec2 Position;
    double InvMass;
    double InvInertia;
    TVelocity Real;
    TVelocity Pseudo;  // the split-impulse bias velocities
};

TSolverBody LoadBody(int32_t slot) {
    const TWorldBody& b = WorldBodies[slot];
    return {b.Position,
            b.InvMass,
            b.InvInertia,
            {b.Velocity, b.AngularVelocity},
            {b.BiasVelocity, b.BiasAngularVelocity}};
}

void StoreBody(int32_t slot, const TSolverBody& s) {
    TWorldBody& b = WorldBodies[slot];
    b.Velocity = s.Real.Linear;
    b.AngularVelocity = s.Real.Angular;
    b.BiasVelocity = s.Pseudo.Linear;
    b.BiasAngularVelocity = s.Pseudo.Angular;
}

// Body 1 first, then body 2: when a joint ties a body to itself, body 2's
// copy is the one that stays.
void StoreBodies(int32_t slot1, const TSolverBody& b1, int32_t slot2, const TSolverBody& b2) {
    StoreBody(slot1, b1);
    StoreBody(slot2, b2);
}

// A value as it is kept: every stored result is a double.
double Rounded(long double x) { return static_cast<double>(x); }

// Runs work (contact, body 1, r1, body 2, r2) for every contact of the pair in
// order, on one pair of body copies, and stores the copies at the end.
template <class Work>
void ForEachContact(TContactPair& pair, Work work) {
    TSolverBody b1 = LoadBody(pair.Body1);
    TSolverBody b2 = LoadBody(pair.Body2);
    for (int32_t i = 0; i < pair.ContactCount; i++) {
        TContactPoint& c = pair.Contacts[i];
        work(c, b1, Sub(c.Position, b1.Position), b2, Sub(c.Position, b2.Position));
    }
    StoreBodies(pair.Body1, b1, pair.Body2, b2);
}

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
// r x (p d) = p (r x d); working them out once shortens every iteration.
struct TDirection {
    TVec2 D;
    double Arm1, Arm2;
};

TDirection Direction(const TVec2& d, const TVec2& r1, const TVec2& r2) {
    return {d, Rounded(Cross(r1, d)), Rounded(Cross(r2, d))};
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

// The joint's anchors, turned with the bodies' current angles.
void JointOffsets(const TPinJoint& joint, TVec2& r1, TVec2& r2) {
    r1 = MulMat(BodyRotation(WorldBodies[joint.Body1]), joint.BodyPin1);
    r2 = MulMat(BodyRotation(WorldBodies[joint.Body2]), joint.BodyPin2);
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
    TSolverBody b1 = LoadBody(joint.Body1);
    TSolverBody b2 = LoadBody(joint.Body2);
    TVec2 r1, r2;
    JointOffsets(joint, r1, r2);
    TVec2 gap = Sub(Add(b2.Position, r2), Add(b1.Position, r1));
    if (PositionCorrection)
        joint.Bias = Scale(-static_cast<long double>(joint.GapFeedback) * invDt, gap);
    else
        joint.Bias = {0, 0};
    if (WarmStarting)
        ApplyAt(b1, r1, b2, r2, {joint.AccumulatedImpulse.X, joint.AccumulatedImpulse.Y});
    else
        joint.AccumulatedImpulse = {0, 0};
    StoreBodies(joint.Body1, b1, joint.Body2, b2);
}

void SolveJointOnce(TPinJoint& joint) {
    TSolverBody b1 = LoadBody(joint.Body1);
    TSolverBody b2 = LoadBody(joint.Body2);
    TVec2 r1, r2;
    JointOffsets(joint, r1, r2);

    long double invMass = static_cast<long double>(b1.InvMass) + b2.InvMass;
    long double i1 = b1.InvInertia, i2 = b2.InvInertia;
    TMat22 k = {
        Rounded(invMass + i1 * r1.Y * r1.Y + i2 * r2.Y * r2.Y),
        Rounded(-i1 * r1.X * r1.Y - i2 * r2.X * r2.Y),
        Rounded(-i1 * r1.X * r1.Y - i2 * r2.X * r2.Y),
        Rounded(invMass + i1 * r1.X * r1.X + i2 * r2.X * r2.X),
    };
    TMat22 m;
    MatOp(k, k, 'I', 0, m);

    TVecL dv = RelativeVelocity(b1.Real, r1, b2.Real, r2);
    long double c = joint.JointCompliance;
    TVecL rhs = {joint.Bias.X - dv.X - c * joint.AccumulatedImpulse.X,
                 joint.Bias.Y - dv.Y - c * joint.AccumulatedImpulse.Y};
    TVecL impulse = {m.M11 * rhs.X + m.M12 * rhs.Y, m.M21 * rhs.X + m.M22 * rhs.Y};
    ApplyAt(b1, r1, b2, r2, impulse);
    joint.AccumulatedImpulse = {Rounded(joint.AccumulatedImpulse.X + impulse.X),
                                Rounded(joint.AccumulatedImpulse.Y + impulse.Y)};
    StoreBodies(joint.Body1, b1, joint.Body2, b2);
}

void PrepareContacts(TContactPair& pair, double invDt) {
    long double factor = SplitImpulses ? 0.8L : 0.2L;
    if (!PositionCorrection) factor = 0;
    ForEachContact(pair, [&](TContactPoint& c, TSolverBody& b1, const TVec2& r1, TSolverBody& b2,
                             const TVec2& r2) {
        TVec2 t = Tangent(c.Normal);
        c.NormalMass = Rounded(1 / InverseMassAlong(b1, r1, b2, r2, c.Normal));
        c.TangentMass = Rounded(1 / InverseMassAlong(b1, r1, b2, r2, t));
        double overlap = MinOf(0, Rounded(static_cast<long double>(c.Separation) + ContactSlop));
        c.Bias = Rounded(-factor * invDt * overlap);
        if (AccumulateImpulses) {
            long double pn = c.NormalImpulse, pt = c.TangentImpulse;
            ApplyAt(b1, r1, b2, r2, {pn * c.Normal.X + pt * t.X, pn * c.Normal.Y + pt * t.Y});
        }
    });
}

void SolveContactsOnce(TContactPair& pair) {
    ForEachContact(pair, [&](TContactPoint& c, TSolverBody& b1, const TVec2& r1, TSolverBody& b2,
                             const TVec2& r2) {
        TDirection normal = Direction(c.Normal, r1, r2);
        TDirection tangent = Direction(Tangent(c.Normal), r1, r2);

        long double vn = SpeedAlong(b1.Real, b2.Real, normal);
        long double dPn = SplitImpulses ? -vn * c.NormalMass : (-vn + c.Bias) * c.NormalMass;
        if (AccumulateImpulses) {
            double old = c.NormalImpulse;
            c.NormalImpulse = MaxOf(Rounded(old + dPn), 0);
            dPn = static_cast<long double>(c.NormalImpulse) - old;
        } else {
            dPn = MaxOf(Rounded(dPn), 0);
        }
        Push(b1, b1.Real, b2, b2.Real, dPn, normal);

        if (SplitImpulses) {
            long double vnb = SpeedAlong(b1.Pseudo, b2.Pseudo, normal);
            long double dPnb = (-vnb + c.Bias) * c.NormalMass;
            double old = c.AccumulatedBiasImpulse;
            c.AccumulatedBiasImpulse = MaxOf(Rounded(old + dPnb), 0);
            dPnb = static_cast<long double>(c.AccumulatedBiasImpulse) - old;
            Push(b1, b1.Pseudo, b2, b2.Pseudo, dPnb, normal);
        }

        long double dPt = -SpeedAlong(b1.Real, b2.Real, tangent) * c.TangentMass;
        if (AccumulateImpulses) {
            double limit = Rounded(pair.Friction * static_cast<long double>(c.NormalImpulse));
            double old = c.TangentImpulse;
            c.TangentImpulse = ClampReal(Rounded(old + dPt), -limit, limit);
            dPt = static_cast<long double>(c.TangentImpulse) - old;
        } else {
            double limit = Rounded(pair.Friction * dPn);
            dPt = ClampReal(Rounded(dPt), -limit, limit);
        }
        Push(b1, b1.Real, b2, b2.Real, dPt, tangent);
    });
}
