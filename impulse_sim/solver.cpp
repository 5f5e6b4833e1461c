#include "solver.h"

#include "solver_kernels.h"
#include "world.h"

using namespace solver_internal;

namespace {

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
        PrepareJointOn(joint, JointFrameOf(joint, b1, b2), b1, b2, invDt);
    });
}

void SolveJointOnce(TPinJoint& joint) {
    OnBodyCopies(joint.Body1, joint.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
        SolveJointOn(joint, JointFrameOf(joint, b1, b2), b1, b2);
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
