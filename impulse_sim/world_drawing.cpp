#include "world_drawing.h"

#include "tavrel.h"

double ViewZoom = DefaultViewZoom;
double ViewOriginX = 0;
double ViewOriginY = DefaultViewOriginY;
bool ProjectileActive = false;

void ResetView() {
    ViewOriginX = GetRightEdge() / 2.0;
    ViewOriginY = DefaultViewOriginY;
    ViewZoom = DefaultViewZoom;
}

int16_t WindowX(double x) {
    return RealToCoord(static_cast<double>(static_cast<long double>(x) * ViewZoom + ViewOriginX));
}

int16_t WindowY(double y) {
    int64_t up = SafeRound(static_cast<double>(static_cast<long double>(y) * ViewZoom + ViewOriginY));
    // In 64 bits: a saturated height below the window would overflow 32.
    return static_cast<int16_t>(static_cast<uint16_t>(GetBottomEdge() - up));
}

TVec2 WindowToWorld(int32_t x, int32_t y) {
    long double up = static_cast<long double>(GetBottomEdge()) - y;
    return {static_cast<double>((x - static_cast<long double>(ViewOriginX)) / ViewZoom),
            static_cast<double>((up - ViewOriginY) / ViewZoom)};
}

namespace {

void SegmentBetween(const TVec2& a, const TVec2& b) {
    DrawSegment(WindowX(a.X), WindowY(a.Y), WindowX(b.X), WindowY(b.Y));
}

}  // namespace

void DrawBody(const TWorldBody& body, uint32_t color) {
    if (body.InvMass == 0) color = NamedColors[StaticBodyColor];
    if (ProjectileActive && body.Index == WorldBodyCount) color = NamedColors[ProjectileColor];
    SetDrawColor(color);
    if (body.VertexCount == 1) {
        uint16_t radius = static_cast<uint16_t>(
            SafeRound(static_cast<double>(static_cast<long double>(body.Width) * ViewZoom)));
        DrawCircle(WindowX(body.Position.X), WindowY(body.Position.Y), radius);
        // The radius line shows how far the circle has turned.
        SegmentBetween(body.Position, WorldVertex(body, 0));
        return;
    }
    for (int32_t i = 0; i < body.VertexCount; i++)
        SegmentBetween(WorldVertex(body, i), WorldVertex(body, NextVertex(body, i)));
}

void DrawJoint(const TPinJoint& joint, uint32_t color) {
    SetDrawColor(color);
    const TWorldBody& body1 = WorldBodies[joint.Body1];
    const TWorldBody& body2 = WorldBodies[joint.Body2];
    // The anchor where body 1 holds it; a stretched joint shows its gap as
    // the bend between the two lines.
    TVec2 anchor = Add(MulMat(BodyRotation(body1), joint.BodyPin1), body1.Position);
    SegmentBetween(body1.Position, anchor);
    SegmentBetween(anchor, body2.Position);
}

void DrawContacts(const TContactPoints& contacts, int32_t count, uint32_t color) {
    SetDrawColor(color);
    for (int32_t i = 0; i < count && i < static_cast<int32_t>(contacts.size()); i++)
        DrawCircle(WindowX(contacts[i].Position.X), WindowY(contacts[i].Position.Y), 1);
}

void DrawStepContacts(const TContactPoints& contacts, int32_t count) {
    DrawContacts(contacts, count, NamedColors[ContactColor]);
}
