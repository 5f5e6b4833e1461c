#include "world.h"

#include <cmath>

#include "contact_drawing.h"

std::array<TWorldBody, WorldCapacity + 1> WorldBodies{};
int32_t WorldBodyCount = 0;
std::array<TPinJoint, WorldCapacity + 1> WorldJoints{};
int32_t WorldJointCount = 0;
std::array<TContactPair, WorldCapacity + 1> WorldContactPairs{};
int32_t WorldContactPairCount = 0;
TContactDrawHook ContactDrawHook = nullptr;

TVec2 WorldGravity{};
int32_t SolverIterations = 0;
bool PositionCorrection = false;
bool WarmStarting = false;
bool SplitImpulses = false;
bool AccumulateImpulses = false;

void SetWorld(const TVec2& gravity, int32_t iterations, bool positionCorrection, bool warmStarting,
              bool splitImpulses, bool accumulateImpulses) {
    WorldGravity = gravity;
    SolverIterations = iterations;
    PositionCorrection = positionCorrection;
    WarmStarting = warmStarting;
    SplitImpulses = splitImpulses;
    AccumulateImpulses = accumulateImpulses;
}

bool AddWorldBody(const TWorldBody& body) {
    if (WorldBodyCount >= WorldCapacity) return false;
    WorldBodyCount++;
    WorldBodies[WorldBodyCount] = body;
    WorldBodies[WorldBodyCount].Index = WorldBodyCount;
    return true;
}

bool AddWorldJoint(const TPinJoint& joint) {
    if (WorldJointCount >= WorldCapacity) return false;
    // The solver indexes the body table with these slots.
    if (!ValidBodySlot(joint.Body1) || !ValidBodySlot(joint.Body2)) return false;
    WorldJointCount++;
    WorldJoints[WorldJointCount] = joint;
    return true;
}

void ClearWorld() {
    WorldBodyCount = 0;
    WorldJointCount = 0;
}

namespace {

// The bodies of this step as the narrow phase sees them.
std::array<TPlacedBody, WorldCapacity + 1> PlacedBodies;

// Every pair of bodies but pairs of two static ones, in slot order. Pairs past
// the table's capacity are not solved but their points are still drawn.
void FindContacts() {
    TContactPair scratch;
    for (int32_t i = 1; i <= WorldBodyCount; i++) PlaceBody(PlacedBodies[i], WorldBodies[i]);
    for (int32_t i = 1; i < WorldBodyCount; i++) {
        const TWorldBody& a = WorldBodies[i];
        for (int32_t j = i + 1; j <= WorldBodyCount; j++) {
            const TWorldBody& b = WorldBodies[j];
            if (a.InvMass == 0 && b.InvMass == 0) continue;
            bool room = WorldContactPairCount < WorldCapacity;
            TContactPair& pair = room ? WorldContactPairs[WorldContactPairCount + 1] : scratch;
            pair.ContactCount = CollidePlaced(pair.Contacts, PlacedBodies[i], PlacedBodies[j]);
            if (pair.ContactCount <= 0) continue;
            pair.Body1 = a.Index;
            pair.Body2 = b.Index;
            pair.Friction = static_cast<double>(
                std::sqrt(std::fabs(static_cast<long double>(a.Friction) * b.Friction)));
            if (room) WorldContactPairCount++;
            if (ContactDrawHook) ContactDrawHook(pair.Contacts, pair.ContactCount);
        }
    }
}

void ApplyForces(double dt) {
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        TWorldBody& b = WorldBodies[i];
        if (b.InvMass == 0) continue;
        long double m = b.InvMass;
        b.Velocity = {static_cast<double>(b.Velocity.X + dt * (WorldGravity.X + m * b.Force.X)),
                      static_cast<double>(b.Velocity.Y + dt * (WorldGravity.Y + m * b.Force.Y))};
        b.AngularVelocity = static_cast<double>(b.AngularVelocity + static_cast<long double>(dt) *
                                                                        b.InvInertia * b.Torque);
        b.BiasVelocity = {0, 0};
        b.BiasAngularVelocity = 0;
    }
}

void MoveBodies(double dt) {
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        TWorldBody& b = WorldBodies[i];
        if (b.InvMass == 0) continue;
        b.Position = {
            static_cast<double>(b.Position.X +
                                dt * (static_cast<long double>(b.Velocity.X) + b.BiasVelocity.X)),
            static_cast<double>(b.Position.Y +
                                dt * (static_cast<long double>(b.Velocity.Y) + b.BiasVelocity.Y))};
        b.Angle = static_cast<double>(
            b.Angle + dt * (static_cast<long double>(b.AngularVelocity) + b.BiasAngularVelocity));
        b.Force = {0, 0};
        b.Torque = 0;
    }
}

}  // namespace

void StepWorld(double dt) {
    WorldContactPairCount = 0;
    double invDt = dt > 0 ? static_cast<double>(1 / static_cast<long double>(dt)) : 0;
    FindContacts();
    ApplyForces(dt);
    SolveStep(invDt);
    MoveBodies(dt);
}
