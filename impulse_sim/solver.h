// Sequential impulses: the contacts and pin joints of one step change the
// bodies' velocities (and, with split impulses, their pseudo velocities) one
// after the other, several times per step.
#pragma once

#include <cstdint>

#include "collision.h"

struct TPinJoint {
    TVec2 BodyPin1;  // the anchor in body 1's frame
    TVec2 BodyPin2;
    TVec2 Bias;
    TVec2 AccumulatedImpulse;  // kept from step to step
    double JointCompliance;    // 0: a rigid pin
    double GapFeedback;        // share of the anchor gap closed within one step
    int32_t Body1, Body2;      // slots
};

inline bool ValidBodySlot(int32_t slot) { return slot >= 1 && slot <= WorldCapacity; }

// Penetration that the position bias leaves alone, in metres.
constexpr double ContactSlop = 0.01;

// Both bodies must be in the world already: the anchor is taken into their
// frames as they stand now.
void InitJoint(int32_t body1, int32_t body2, TPinJoint& joint, double anchorX, double anchorY,
               double jointCompliance, double gapFeedback);
void PrepareJoint(TPinJoint& joint, double invDt);
void SolveJointOnce(TPinJoint& joint);
void PrepareContacts(TContactPair& pair, double invDt);
void SolveContactsOnce(TContactPair& pair);
