#include "poly_controls.h"

#include "extended_ops.h"
#include "poly_bodies.h"

namespace {

constexpr double AddedRadius = 2.0;
constexpr double AddedStretch = 1.0;
constexpr double OnCentre = 1e-5;
constexpr double PullOne = 0.1;
constexpr double PullAll = 0.01;

void PullBody(TPolyBody& b, long double x, long double y, long double strength) {
    b.VelocityX = Rounded((x - b.X) * strength);
    b.VelocityY = Rounded((y - b.Y) * strength);
}

}  // namespace

void ApplyPolyKey(uint8_t key, TRandomSource& random) {
    switch (key) {
        case 'a':
            if (PolyBodyCount >= PolyMaxBodies) break;
            PolySideCount++;
            if (PolySideCount > 10) PolySideCount = 3;
            AddPolygonBodies(random, 1, PolySideCount, AddedRadius, AddedStretch);
            break;
        case 'f':
            PolyDrag += 2;
            if (PolyDrag > 20) PolyDrag = 0;
            break;
        case 'g':
            PolyGravity = PolyGravity != 0 ? 0 : 1e-5;
            break;
        case 'r':
            PolyRestitution += 0.01;
            if (PolyRestitution < -1)
                PolyRestitution = -1;
            else if (PolyRestitution > 2)
                PolyRestitution = 2;
            break;
        case 's':
            PolySlip -= 0.01;
            if (PolySlip < -0.9) PolySlip = 0;
            break;
        case 'v':
            PolyRestThreshold += 0.01;
            if (PolyRestThreshold > 1) PolyRestThreshold = 0;
            break;
        default:
            break;
    }
}

void PullBodies(int32_t mouseX, int32_t mouseY, uint16_t buttons) {
    if (buttons == 0 || PolyBodyCount == 0) return;
    const long double x = mouseX / static_cast<long double>(PolyWindowWidth) * PolyWorldWidth;
    const long double y =
        (1 - mouseY / static_cast<long double>(PolyWindowHeight)) * PolyWorldHeight;
    if (buttons == 1 || buttons == 2) {
        double best = 99999;
        int32_t nearest = 0;
        for (int32_t i = 0; i < PolyBodyCount; i++) {
            const double d = Hypot(Rounded(x - PolyBodies[i].X), Rounded(y - PolyBodies[i].Y));
            if (d < best) {
                best = d;
                nearest = i;
            }
        }
        TPolyBody& b = PolyBodies[nearest];
        if (best > OnCentre) PullBody(b, x, y, PullOne);
        if (buttons == 2) b.AngularVelocity = 0;
        return;
    }
    for (int32_t i = 0; i < PolyBodyCount; i++) PullBody(PolyBodies[i], x, y, PullAll);
}
