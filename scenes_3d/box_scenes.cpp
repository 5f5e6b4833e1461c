#include "box_scenes.h"

void ResetBoxBalls(const TBoxBallsVariant& variant) {
    UseBoxBallsVariant(variant);
    BoxGravity = {0, -9.82, 0};
    BallCount = 0;
    WallCount = 0;
    EventDepth = 0;
}

TBoxScene PickBoxScene(TRandomSource& random) {
    if (RandomBelow(random, 10) > 5) return TBoxScene::BigBallUnderGrid;
    if (RandomBelow(random, 10) > 5) return TBoxScene::RowHitByOne;
    return TBoxScene::LeaningColumn;
}

namespace {

void AddColumn(int32_t count, double l, double upSpeed) {
    const double r = l / 25;
    for (int32_t k = 0; k < count; k++)
        AddBoxBall(k, (2.0001 * k + 1.0001) * r, 0, 0, upSpeed, 0, r, 1, uint32_t(k + 32));
}

}  // namespace

void AddSceneBalls(TBoxScene scene, double l) {
    switch (scene) {
        case TBoxScene::BigBallUnderGrid: {
            AddBoxBall(0, l / 2, 0, 0, 0, 0, l / 3, 1, 4);
            const int32_t n = 8;
            const double s = (l / 3) / 18, o = (n - 1) * s * 2.2 / 2;
            for (int32_t k = 0; k < n * n; k++) {
                const int32_t column = k % n, row = k / n;
                AddBoxBall(column * s * 2.2 - o, l / 2 + 2 * l / 3, row * s * 2.2 - o, 0, -50, 0, s, 1,
                           uint32_t(k + 32));
            }
            break;
        }
        case TBoxScene::RowHitByOne: {
            const double s = 25;
            for (int32_t k = 0; k < 15; k++)
                AddBoxBall(k * s + 0.2 * l, 2 * s, 0.5 * l, 0, 0, 0, s / 2 - 0.000001, s / 2, uint32_t(k + 32));
            BoxBalls[3].Vel.X = 150;
            break;
        }
        case TBoxScene::LeaningColumn: AddColumn(70, l, 0); break;
    }
}

void AddThrownColumn(double l) { AddColumn(40, l, 100); }

void AddBoxWalls(double l) {
    const double f = 4 * l;
    AddBoxWall(0, 0, 0, {-f, 0, 0}, {0, 0, f});
    AddBoxWall(0, 2 * f, 0, {f, 0, 0}, {0, 0, f});
    AddBoxWall(0, f, -f, {0, -f, 0}, {f, 0, 0});
    AddBoxWall(0, f, f, {0, f, 0}, {f, 0, 0});
    AddBoxWall(f, f, 0, {0, -f, 0}, {0, 0, f});
    AddBoxWall(-f, f, 0, {0, f, 0}, {0, 0, f});
}

void BoxWallCorners(const TBoxWall& wall, TWallCorners& c) {
    VecSub(c[0], wall.Point, wall.U);
    VecSub(c[0], c[0], wall.V);
    VecAdd(c[1], wall.Point, wall.U);
    VecSub(c[1], c[1], wall.V);
    VecAdd(c[2], wall.Point, wall.U);
    VecAdd(c[2], c[2], wall.V);
    VecSub(c[3], wall.Point, wall.U);
    VecAdd(c[3], c[3], wall.V);
}

void WallNormalLine(const TBoxWall& wall, const TWallCorners& c, TVec3& from, TVec3& to) {
    VecAdd(from, c[0], c[2]);
    VecScale(from, from, 0.5);
    VecScale(to, wall.Normal, 80);
    VecAdd(to, from, to);
}
