// Bodies placed by hand for the tests, with quiet parameters.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "poly_bodies.h"

using TCorner = std::pair<double, double>;

// A body of unit mass and unit inertia factor with its vertices, clockwise,
// about the centre (x, y); transformed and recorded as the frame would.
inline void PlaceBody(int32_t i, double x, double y, double halfSize,
                      std::initializer_list<TCorner> corners) {
    TPolyBody& b = PolyBodies[i];
    b = TPolyBody{};
    b.Sides = static_cast<int32_t>(corners.size());
    b.Colour = 9;
    b.HalfSize = halfSize;
    b.Mass = 1;
    b.InertiaFactor = 1;
    b.X = x;
    b.Y = y;
    int32_t j = 0;
    for (const TCorner& c : corners) {
        b.LocalX[j] = c.first;
        b.LocalY[j] = c.second;
        j++;
    }
    for (j = 0; j < b.Sides; j++) {
        const int32_t k = (j + 1) % b.Sides;
        b.EdgeLength[j] = Hypot(b.LocalX[j] - b.LocalX[k], b.LocalY[j] - b.LocalY[k]);
    }
}

inline void PlaceSquare(int32_t i, double x, double y) {
    PlaceBody(i, x, y, 1.5, {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}});
}
inline void PlaceDiamond(int32_t i, double x, double y) {
    PlaceBody(i, x, y, 1.0, {{-1, 0}, {0, 1}, {1, 0}, {0, -1}});
}

// Quiet parameters: no gravity, drag or slip, elastic.
inline void QuietBodies(int32_t count) {
    PolyBodyCount = count;
    PolyGravity = 0;
    PolyDrag = 0;
    PolySlip = 0;
    PolyRestitution = 1;
    PolyCorrection = 0.9;
    PolyRestThreshold = 0.01;
    UpdateCompounds();
    TransformVertices();
    SaveBodyPoses();
}
