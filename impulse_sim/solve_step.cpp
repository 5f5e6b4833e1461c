// The solve of one world step. It computes exactly what the single-call
// routines compute in table order, but arranges the work for speed:
// - the bodies' velocities live in a compact table while the step solves,
//   and what no iteration changes (contact axes, joint frames) is worked out
//   once;
// - each iteration visits the pairs and joints in an order that puts work on
//   unrelated bodies next to each other, so that the processor can overlap
//   the long extended-precision chains of one with those of the other.
//   Every body still sees its updates in table order, so every value is the
//   same; only work on different bodies changes places.
// A fixed body (no inverse mass or inertia) would tie all of its contacts
// into one chain although their updates leave it as it is: 0 times a finite
// impulse is zero. Each pair or joint therefore works on a private copy of a
// fixed body. Should an update change a copy after all (a non-finite
// impulse, or -0 turned into +0), the step is solved again in table order on
// the real bodies.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "solver_kernels.h"

using namespace solver_internal;

namespace {

// A contact or a joint, with the slots of StepBodies it works on.
struct TStepItem {
    int32_t Pair;     // slot in WorldContactPairs; 0 for a joint
    int32_t Contact;  // 0 or 1 in the pair
    int32_t Joint;    // slot in WorldJoints; 0 for a contact
    int32_t Body1, Body2;
};

// An item as the ordered iterations run it.
struct TRunItem {
    TContactPoint* Contact;  // nullptr for a joint
    const TContactAxes* Axes;
    const double* Friction;
    TPinJoint* Joint;
    const TJointFrame* Frame;
    TSolverBody* Body1;
    TSolverBody* Body2;
};

constexpr int32_t MaxItems = 3 * WorldCapacity;
// Slots 1..WorldCapacity stand for the bodies of the same slots; the private
// copies of fixed bodies follow, at most two per item.
constexpr int32_t FirstCopySlot = WorldCapacity + 1;
constexpr int32_t StepSlotCount = FirstCopySlot + 2 * MaxItems;

std::array<TSolverBody, StepSlotCount> StepBodies;
std::array<int32_t, 2 * MaxItems> CopySources;
int32_t CopyCount = 0;
std::array<TRunItem, MaxItems> RunItems;
int32_t RunItemCount = 0;
std::array<std::array<TContactAxes, 2>, WorldCapacity + 1> PairAxes;
std::array<TJointFrame, WorldCapacity + 1> JointFrames;

// The impulses a step starts from, for solving it again.
struct TContactImpulses {
    double Normal, Tangent, Bias;
};
std::array<std::array<TContactImpulses, 2>, WorldCapacity + 1> StartContactImpulses;
std::array<TVec2, WorldCapacity + 1> StartJointImpulses;

// Joints may name slots past the body count; the solver changes those too.
int32_t LastBodySlot() {
    int32_t last = WorldBodyCount;
    for (int32_t i = 1; i <= WorldJointCount; i++)
        last = std::max({last, WorldJoints[i].Body1, WorldJoints[i].Body2});
    return last;
}

void SaveStartImpulses() {
    for (int32_t i = 1; i <= WorldContactPairCount; i++)
        for (int32_t n = 0; n < 2; n++) {
            const TContactPoint& c = WorldContactPairs[i].Contacts[n];
            StartContactImpulses[i][n] = {c.NormalImpulse, c.TangentImpulse,
                                          c.AccumulatedBiasImpulse};
        }
    for (int32_t i = 1; i <= WorldJointCount; i++)
        StartJointImpulses[i] = WorldJoints[i].AccumulatedImpulse;
}

void RestoreStartImpulses() {
    for (int32_t i = 1; i <= WorldContactPairCount; i++)
        for (int32_t n = 0; n < 2; n++) {
            TContactPoint& c = WorldContactPairs[i].Contacts[n];
            const TContactImpulses& s = StartContactImpulses[i][n];
            c.NormalImpulse = s.Normal;
            c.TangentImpulse = s.Tangent;
            c.AccumulatedBiasImpulse = s.Bias;
        }
    for (int32_t i = 1; i <= WorldJointCount; i++)
        WorldJoints[i].AccumulatedImpulse = StartJointImpulses[i];
}

// Work on the bodies of two step slots as on copies of both records stored
// body 1 first: an item on one body keeps only body 2's changes.
template <class Work>
void OnStepBodies(int32_t slot1, int32_t slot2, Work work) {
    TSolverBody& b2 = StepBodies[slot2];
    if (slot1 != slot2) {
        work(StepBodies[slot1], b2);
    } else {
        TSolverBody copy1 = b2;
        work(copy1, b2);
    }
}

// The pre-steps, in table order on the bodies' own slots.
void Prepare(double invDt) {
    long double biasRate = BiasRate(invDt);
    for (int32_t i = 1; i <= WorldContactPairCount; i++) {
        TContactPair& pair = WorldContactPairs[i];
        const TVec2& p1 = WorldBodies[pair.Body1].Position;
        const TVec2& p2 = WorldBodies[pair.Body2].Position;
        OnStepBodies(pair.Body1, pair.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
            for (int32_t n = 0; n < pair.ContactCount; n++)
                PrepareContact(pair.Contacts[n], PairAxes[i][n], p1, b1, p2, b2, biasRate);
        });
    }
    for (int32_t i = 1; i <= WorldJointCount; i++) {
        TPinJoint& joint = WorldJoints[i];
        OnStepBodies(joint.Body1, joint.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
            JointFrames[i] = JointFrameOf(joint, b1, b2);
            PrepareJointOn(joint, JointFrames[i], b1, b2, invDt);
        });
    }
}

// A body that updates by finite impulses change by zero only; whether they
// did is checked after the iterations all the same (CopiesUnchanged).
bool IsFixed(const TSolverBody& b) {
    const TVelocity* velocities[] = {&b.Real, &b.Pseudo};
    for (const TVelocity* v : velocities)
        if (!std::isfinite(v->Linear.X) || !std::isfinite(v->Linear.Y) ||
            !std::isfinite(v->Angular))
            return false;
    return b.InvMass == 0 && b.InvInertia == 0;
}

int32_t PrivateCopyOf(int32_t slot) {
    int32_t copy = FirstCopySlot + CopyCount;
    CopySources[CopyCount++] = slot;
    StepBodies[copy] = StepBodies[slot];
    return copy;
}

// Orders the contacts of the pairs and the joints by their depth in the
// chain of items that share a body, giving fixed bodies private copies: an
// item comes right after the last item before it on either of its bodies,
// and items of the same depth share no body. Returns false, with nothing
// ordered, when a pair or a joint works on a single body (its two copies of
// one record would not survive the reordering).
bool ScheduleItems(int32_t lastBodySlot) {
    std::array<TStepItem, MaxItems> items;
    int32_t count = 0;
    for (int32_t i = 1; i <= WorldContactPairCount; i++) {
        const TContactPair& pair = WorldContactPairs[i];
        if (pair.Body1 == pair.Body2) return false;
        for (int32_t n = 0; n < pair.ContactCount; n++)
            items[count++] = {i, n, 0, pair.Body1, pair.Body2};
    }
    for (int32_t i = 1; i <= WorldJointCount; i++) {
        const TPinJoint& joint = WorldJoints[i];
        if (joint.Body1 == joint.Body2) return false;
        items[count++] = {0, 0, i, joint.Body1, joint.Body2};
    }

    CopyCount = 0;
    std::array<int32_t, StepSlotCount> slotDepth;
    std::fill(slotDepth.begin(), slotDepth.begin() + lastBodySlot + 1, 0);
    std::array<int32_t, MaxItems> itemDepth;
    std::array<int32_t, MaxItems + 2> depthStart{};
    for (int32_t i = 0; i < count; i++) {
        TStepItem& item = items[i];
        for (int32_t* slot : {&item.Body1, &item.Body2})
            if (IsFixed(StepBodies[*slot])) {
                *slot = PrivateCopyOf(*slot);
                slotDepth[*slot] = 0;
            }
        int32_t depth = std::max(slotDepth[item.Body1], slotDepth[item.Body2]) + 1;
        slotDepth[item.Body1] = slotDepth[item.Body2] = depth;
        itemDepth[i] = depth;
        depthStart[depth + 1]++;
    }
    // A stable counting sort by depth.
    for (int32_t d = 1; d <= count + 1; d++) depthStart[d] += depthStart[d - 1];
    for (int32_t i = 0; i < count; i++) {
        const TStepItem& item = items[i];
        TRunItem& run = RunItems[depthStart[itemDepth[i]]++];
        run = TRunItem{};
        run.Body1 = &StepBodies[item.Body1];
        run.Body2 = &StepBodies[item.Body2];
        if (item.Pair != 0) {
            TContactPair& pair = WorldContactPairs[item.Pair];
            run.Contact = &pair.Contacts[item.Contact];
            run.Axes = &PairAxes[item.Pair][item.Contact];
            run.Friction = &pair.Friction;
        } else {
            run.Joint = &WorldJoints[item.Joint];
            run.Frame = &JointFrames[item.Joint];
        }
    }
    RunItemCount = count;
    return true;
}

// Whether every private copy of a fixed body still equals the body, bit for
// bit: then no update changed it, and the copies computed what the body
// itself would have.
bool CopiesUnchanged() {
    for (int32_t k = 0; k < CopyCount; k++)
        if (std::memcmp(&StepBodies[FirstCopySlot + k], &StepBodies[CopySources[k]],
                        sizeof(TSolverBody)) != 0)
            return false;
    return true;
}

// The iterations in table order on the bodies' own slots, as the single-call
// routines run them.
template <bool Split, bool Accumulate>
void RunTableIterations() {
    for (int32_t k = 0; k < SolverIterations; k++) {
        for (int32_t i = 1; i <= WorldContactPairCount; i++) {
            TContactPair& pair = WorldContactPairs[i];
            OnStepBodies(pair.Body1, pair.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
                for (int32_t n = 0; n < pair.ContactCount; n++)
                    SolveContact<Split, Accumulate>(pair.Contacts[n], PairAxes[i][n], pair.Friction,
                                                    b1, b2);
            });
        }
        for (int32_t i = 1; i <= WorldJointCount; i++) {
            TPinJoint& joint = WorldJoints[i];
            OnStepBodies(joint.Body1, joint.Body2, [&](TSolverBody& b1, TSolverBody& b2) {
                SolveJointOn(joint, JointFrames[i], b1, b2);
            });
        }
    }
}

// The iterations over the ordered items.
template <bool Split, bool Accumulate>
void RunOrderedIterations() {
    for (int32_t k = 0; k < SolverIterations; k++) {
        for (int32_t i = 0; i < RunItemCount; i++) {
            const TRunItem& item = RunItems[i];
            if (item.Contact)
                SolveContact<Split, Accumulate>(*item.Contact, *item.Axes, *item.Friction,
                                                *item.Body1, *item.Body2);
            else
                SolveJointOn(*item.Joint, *item.Frame, *item.Body1, *item.Body2);
        }
    }
}

template <bool Split, bool Accumulate>
void RunIterations(bool ordered) {
    if (ordered)
        RunOrderedIterations<Split, Accumulate>();
    else
        RunTableIterations<Split, Accumulate>();
}

void RunIterations(bool ordered) {
    if (SplitImpulses) {
        if (AccumulateImpulses)
            RunIterations<true, true>(ordered);
        else
            RunIterations<true, false>(ordered);
    } else {
        if (AccumulateImpulses)
            RunIterations<false, true>(ordered);
        else
            RunIterations<false, false>(ordered);
    }
}

void LoadStepBodies(int32_t lastBodySlot) {
    for (int32_t i = 1; i <= lastBodySlot; i++) StepBodies[i] = LoadBody(WorldBodies[i]);
}

}  // namespace

void SolveStep(double invDt) {
    int32_t last = LastBodySlot();
    LoadStepBodies(last);
    SaveStartImpulses();
    Prepare(invDt);
    bool ordered = ScheduleItems(last);
    RunIterations(ordered);
    if (ordered && !CopiesUnchanged()) {
        LoadStepBodies(last);
        RestoreStartImpulses();
        Prepare(invDt);
        RunIterations(false);
    }
    for (int32_t i = 1; i <= last; i++) StoreBody(WorldBodies[i], StepBodies[i]);
}
