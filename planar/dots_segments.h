// Dots that fall at a constant speed and are mirrored off segments the user
// draws. Runs headless: the window's right and bottom edges come in.
#pragma once

#include <array>
#include <cstdint>

constexpr int32_t DotCapacity = 150;
constexpr int32_t SegmentCapacity = 150;
// The drawn radius of a dot, the distance at which a segment mirrors it and
// the margin of the leave tests.
constexpr int32_t DotSize = 3;

struct TDot {
    double X, Y, VX, VY;  // pixels, pixels per frame, y downwards
    int32_t Active;       // 1 moving and drawn, 0 free
};

struct TUserSegment {
    double X1, Y1, X2, Y2;
    int32_t State;  // 1 complete, 0 free or waiting for its second end
};

extern std::array<TDot, DotCapacity> Dots;
extern std::array<TUserSegment, SegmentCapacity> UserSegments;
extern int32_t PendingSegment;    // the segment with only its first end, -1 when none
extern uint16_t PreviousButtons;  // last frame's button word

// How each dot shows in this frame: a dot freed in this frame is still drawn.
enum TDotLook : uint8_t { DotHidden, DotPlain, DotMirrored };
extern std::array<TDotLook, DotCapacity> DotLooks;

// Every dot free, every segment free, nothing pending, no button held.
void ResetDotsAndSegments();

// Mirrors the dot's velocity off a complete segment it touches; true when it
// did. A segment of no length mirrors nothing.
bool MirrorDotOffSegment(TDot& dot, const TUserSegment& segment);

// Moves every active dot, mirrors it off each complete segment in index order
// and frees it when it leaves the window; fills DotLooks.
void MoveDots(int32_t rightEdge, int32_t bottomEdge);

// A left press starts the first free dot at the pointer, a right press sets
// the next segment end; a press is a word of exactly 1 (or 2) that differs
// from last frame's.
void HandleDotPresses(uint16_t buttons, int32_t x, int32_t y);

// One frame of the program against its window: mouse, flip, dots, segments,
// presses. True when a key waits (the program then ends).
bool RunDotsFrame();
int DotsAndSegmentsMain();
