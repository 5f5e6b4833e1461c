// The disc billiard shared by disc_billiard_gl, disc_billiard_flat and
// rack_billiard: discs on a table the size of the window, the cue disc (0)
// driven onto the pointer, exponential damping, mirroring cushions and an
// overlap push that gives the larger disc the smaller share. Headless: the
// table's extents and the random source come in from the caller.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"

struct TDisc {
    double X, Y;  // centre, window pixels, y downwards
    double Radius;
    double VX, VY;  // pixels per simulated second
    int32_t Colour;  // palette index
};

constexpr int32_t DiscCapacity = 51;
extern std::array<TDisc, DiscCapacity> Discs;

// How a program's discs get their colour at the start.
enum class TDiscColouring : uint8_t { FromIndex, RandomFlat, RandomRack };

// What tells the three programs apart.
struct TBilliardSettings {
    const char* Caption;
    int16_t Mode;  // 4: 640 x 480, 6: 800 x 600
    int32_t DiscCount;
    double TimeStep;
    TDiscColouring Colouring;
    bool LoopDownwards;  // disc loop from the last disc down to 0
    bool AllPartners;    // every other disc, each pair met twice; else the lower discs
    bool Clamp;          // velocities limited to +-4096 after a contact
};

constexpr double SpeedLimit = 4096.0;

constexpr TBilliardSettings GlBilliard{"BILIARD 3D", 4, 50, 0.001, TDiscColouring::FromIndex,
                                       false, true, true};
constexpr TBilliardSettings FlatBilliard{"BILIARD 3D", 4, 50, 0.001, TDiscColouring::RandomFlat,
                                         true, false, true};
constexpr TBilliardSettings RackBilliard{"FIZICA BILIARDULUI", 6, 16, 0.05,
                                         TDiscColouring::RandomRack, true, false, false};

// Disc 0's velocity that carries it exactly onto the pointer in its next step.
void DriveCueDisc(int32_t mouseX, int32_t mouseY, double timeStep);
// Move, damp, then the cushions low x, low y, high x, high y (w, h: the
// table's right and bottom edges).
void StepDisc(TDisc& disc, double timeStep, double w, double h);
// Pushes a strictly overlapping pair apart.
void ResolveDiscOverlap(TDisc& k, TDisc& j, double timeStep, bool clamp);

// The random start of the fifty-disc programs, drawn disc by disc.
void StartRandomDiscs(const TBilliardSettings& settings, int32_t w, int32_t h,
                      TRandomSource& random);
// rack_billiard's start: the cue disc and a touching triangle of fifteen.
void LayOutRack(int32_t w, int32_t h, TRandomSource& random);

// One frame's simulation after the cue rule: each disc in the program's order
// is stepped and meets its partners; drawDisc (when given) then draws it.
using TDrawDisc = void (*)(const TDisc& disc);
void AdvanceDiscs(const TBilliardSettings& settings, double w, double h, TDrawDisc drawDisc);
