#include "rigid_scenarios.h"

#include "extended_ops.h"

namespace {

constexpr double SceneDamping = 0.998;

void AddFloor(double mx, double my, double angle) {
    AddRigidBody(0, 4, 1, mx, 100, mx / 2, my - 20, 0, 0, 0, angle, SceneDamping);
}

void AddBox(int32_t index, int32_t fixed, double width, double height, double x, double y,
            double angle = 0, double damping = SceneDamping) {
    AddRigidBody(index, 4, fixed, width, height, x, y, 0, 0, 0, angle, damping);
}

void BuildFallingPolygons(double mx, double my, TRandomSource& random) {
    AddFloor(mx, my, 0);
    AddRigidBody(1, 3, 1, mx / 2, 100, 100, 200, 0, 0, 0, 0, SceneDamping);
    for (int32_t i = 2; i <= 20; i++) {
        const int32_t width = 10 + RandomBelow(random, 50);
        const int32_t height = 10 + RandomBelow(random, 50);
        const int32_t sides = 3 + RandomBelow(random, 8);
        AddRigidBody(i, sides, 0, width, height, mx / 2, my - 25 - 40 * i, 0, 0, 0, 0, SceneDamping);
    }
    LastBodyIndex = 20;
}

void BuildRamps(double mx, double my) {
    AddFloor(mx, my, 0);
    AddBox(1, 1, 350, 10, mx / 2, 90, 0.25);
    AddBox(2, 1, 10, 30, mx / 2 + 205, 130);
    AddBox(3, 1, 350, 10, mx / 2 + 30, 220, -0.25);
    AddBox(4, 1, 10, 30, mx / 2 - 175, 260);
    AddBox(5, 1, 350, 10, mx / 2 - 10, 350, 0.25);
    for (int32_t k = 0; k <= 4; k++)
        AddBox(6 + k, 0, 20, 20, mx / 2 - 100 + 25 * k, 30, 0.25,
               Rounded(1 - (5 - k) * Ext(0.001)));
    LastBodyIndex = 10;
}

void BuildStack(double mx, double my, double floorAngle) {
    AddFloor(mx, my, floorAngle);
    for (int32_t i = 1; i <= 9; i++) AddBox(i, 0, 20, 20, mx / 2, my - 61 - 20 * i);
    LastBodyIndex = 9;
}

// Rows shrink by one box and shift half a box to the left.
void BuildPyramid(double mx, double my) {
    AddFloor(mx, my, 0);
    int32_t index = 1;
    for (int32_t row = 0; row <= 8; row++)
        for (int32_t column = row; column <= 8; column++)
            AddBox(index++, 0, 20, 20, 200 + 25 * column - 12.5 * row, my - 80 - 20 * row);
    LastBodyIndex = index - 1;
}

}  // namespace

void BuildRigidScenario(int32_t number, double rightEdge, double bottomEdge, TRandomSource& random) {
    switch (number) {
        case 0: BuildFallingPolygons(rightEdge, bottomEdge, random); break;
        case 1: BuildRamps(rightEdge, bottomEdge); break;
        case 2: BuildStack(rightEdge, bottomEdge, 0); break;
        case 3: BuildStack(rightEdge, bottomEdge, 0.15); break;
        default: BuildPyramid(rightEdge, bottomEdge); break;
    }
}


void BuildCrowdColumn(double rightEdge, double bottomEdge, TRandomSource& random) {
    for (int32_t i = 0; i <= CrowdLastIndex; i++) {
        const int32_t width = 10 + RandomBelow(random, 50);
        const int32_t height = 10 + RandomBelow(random, 50);
        const int32_t sides = 3 + RandomBelow(random, 8);
        AddRigidBody(i, sides, width, height, rightEdge / 2, bottomEdge - 25 - 40 * i, 0, 0, 0, 0,
                     SceneDamping);
    }
}
