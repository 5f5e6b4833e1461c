#include "rigid_engine.h"
#include "tavrel.h"

template <class TBody>
void DrawBodyOutline(const TBody& body) {
    TBodyVertices points;
    const int32_t n = WorldVertices(body, points);
    if (n == 0) return;
    MovePenTo(RealToCoord(points[0].X), RealToCoord(points[0].Y));
    for (int32_t j = 1; j < n; j++) DrawLineTo(RealToCoord(points[j].X), RealToCoord(points[j].Y));
    DrawLineTo(RealToCoord(points[0].X), RealToCoord(points[0].Y));
}

template void DrawBodyOutline(const TRigidBody&);
template void DrawBodyOutline(const TCrowdBody&);
