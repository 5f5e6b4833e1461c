#include "scenes.h"

#include <numbers>

#include "world.h"

namespace {

constexpr double DefaultFriction = 0.2;
constexpr double PinGapFeedback = 0.2;

void AddShape(int32_t n, double w, double h, double mass, double x, double y,
              double friction = DefaultFriction, double angle = 0) {
    TWorldBody body;
    InitBody(n, body, w, h, mass, x, y, 0, 0, 0, 0, 0, friction, angle);
    AddWorldBody(body);
}

void AddBox(double w, double h, double mass, double x, double y, double friction = DefaultFriction,
            double angle = 0) {
    AddShape(4, w, h, mass, x, y, friction, angle);
}

void AddStaticBox(double w, double h, double x, double y, double angle = 0) {
    AddBox(w, h, HugeRealStored, x, y, DefaultFriction, angle);
}

// Its top face is the line y = 0 (tilted about the centre by angle).
void AddGround(double angle = 0) { AddStaticBox(100, 20, 0, -10, angle); }

void AddPin(int32_t body1, int32_t body2, double x, double y, double compliance = 0,
            double gapFeedback = PinGapFeedback) {
    TPinJoint joint;
    InitJoint(body1, body2, joint, x, y, compliance, gapFeedback);
    AddWorldJoint(joint);
}

void OneBox() {
    AddGround();
    AddBox(1, 1, 100, 0, 4);
}

void Ramps() {
    AddGround();
    AddStaticBox(13, 0.25, -2, 11, -0.25);
    AddStaticBox(0.25, 1, 5.25, 9.5);
    AddStaticBox(13, 0.25, 2, 7, 0.25);
    AddStaticBox(0.25, 1, -5.25, 5.5);
    AddStaticBox(13, 0.25, -2, 3, -0.25);
    for (int32_t i = 0; i < 5; i++) AddBox(0.5, 0.5, 25, -7.5 + 2 * i, 14, 0.5 - 0.1125 * i, -0.25);
}

void VerticalStack(TRandomSource& random) {
    AddGround();
    for (int32_t i = 0; i < 10; i++)
        AddBox(1, 1, 1, RandomBetween(-0.1, 0.1, random), 0.51 + 1.05 * i);
}

void SlopeStack() {
    AddGround(-0.1);
    for (int32_t i = 0; i < 8; i++) AddBox(1, 1, 1, 0, 0.75 + 1.1 * i);
}

void Pyramid() {
    AddGround();
    for (int32_t row = 0; row < 7; row++)
        for (int32_t k = 0; k < 7 - row; k++)
            AddBox(1, 1, 10, -3 + 0.5625 * row + 1.125 * k, 0.75 + 1.125 * row);
}

void Pendulum() {
    AddGround();
    AddBox(1, 1, 100, 9, 11);
    AddPin(1, 2, 0, 11);
}

void SeeSaw() {
    AddGround();
    AddBox(12, 0.25, 100, 0, 1);
    AddBox(0.5, 0.5, 25, -5, 2);
    AddBox(0.5, 0.5, 25, -5.5, 2);
    AddBox(1, 1, 100, 5.5, 10);
    AddPin(1, 2, 0, 1);
}

void SuspensionBridge() {
    AddGround();
    for (int32_t i = 0; i < 15; i++) AddBox(1, 0.25, 50, -8.5 + 1.25 * i, 5);
    for (int32_t k = 1; k <= 15; k++) AddPin(k, k + 1, -9.125 + 1.25 * (k - 1), 5);
    AddPin(16, 1, 9.625, 5);
}

void Mixed() {
    AddGround();
    AddStaticBox(12, 0.5, -1.5, 10);
    AddStaticBox(14, 0.5, 1, 6, 0.3);
    AddStaticBox(0.5, 3, -7, 4);
    AddBox(12, 0.25, 20, -0.9, 1);
    AddPin(1, 5, -2, 1);
    AddBox(0.5, 0.5, 10, -10, 15);
    AddPin(4, 6, -7, 15);
    AddBox(2, 2, 10, 6, 2.5, 0.1);
    AddPin(1, 7, 6, 2.6);
    AddBox(2, 0.2, 0.5, 6, 3.6);
    AddPin(7, 8, 7, 3.5);
    for (int32_t i = 0; i < 10; i++) AddBox(0.2, 2, 10, -6 + i, 11.5, 0.1);
}

// Spring joints: 4 Hz, damping ratio 0.7, for links of mass 10, at the frame
// step.
void SoftChain() {
    constexpr long double mass = 10;
    constexpr long double omega = 2 * std::numbers::pi_v<long double> * 4;
    constexpr long double damping = 2 * mass * 0.7L * omega;
    constexpr long double stiffness = mass * omega * omega;
    constexpr long double compliance = 1 / (damping + StepDuration * stiffness);
    constexpr long double gapFeedback = StepDuration * stiffness * compliance;
    AddGround();
    for (int32_t i = 0; i < 15; i++) {
        AddBox(0.75, 0.25, 10, 0.5 + i, 12);
        AddPin(WorldBodyCount - 1, WorldBodyCount, i, 12, static_cast<double>(compliance),
               static_cast<double>(gapFeedback));
    }
}

void Cradle(TRandomSource& random) {
    AddStaticBox(100, 20, 0, 35);
    AddGround();
    int32_t n = RandomBelow(random, 9) + 1;
    AddShape(n, 1, 1, 10, -15, 20, 0.1, -1.6);
    AddPin(1, 3, -5, 20);
    for (int32_t x = -4; x <= 3; x++) {
        AddShape(n, 1, 1, 10, x, 10, 0.1);
        AddPin(1, WorldBodyCount, x, 20);
    }
}

}  // namespace

void BuildScene(int32_t scene, TRandomSource& random) {
    switch (scene) {
        case 1: OneBox(); break;
        case 2: Ramps(); break;
        case 3: VerticalStack(random); break;
        case 4: SlopeStack(); break;
        case 5: Pyramid(); break;
        case 6: Pendulum(); break;
        case 7: SeeSaw(); break;
        case 8: SuspensionBridge(); break;
        case 9: Mixed(); break;
        case 10: SoftChain(); break;
        case 11: Cradle(random); break;
        default: break;
    }
}

bool LaunchProjectile(bool projectileActive, TRandomSource& random) {
    double x0 = RandomBetween(-15, 15, random);
    if (projectileActive && WorldBodyCount > 0) WorldBodyCount--;
    double w = RandomBetween(0.8, 1.5, random);
    double h = RandomBetween(0.8, 1.5, random);
    double angularVelocity = RandomBetween(-20, 20, random);
    double angle = RandomBetween(-1.5, 1.5, random);
    int32_t n = RandomBelow(random, 9) + 1;
    TWorldBody body;
    // Thrown at the origin: the velocity is -1.5 times the start position.
    InitBody(n, body, w, h, 50, x0, 15, 0, 0, -1.5 * x0, -22.5, angularVelocity, 0.2, angle);
    return AddWorldBody(body);
}
