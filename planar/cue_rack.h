// A rack of balls, a cue ball and one-sided walls stepped by events: each
// frame looks one step ahead, takes the single earliest contact, moves every
// ball part of the way to it and answers only that contact. Runs headless:
// the window's edges and the random source come in.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"

struct TRackBall {
    double X, Y;
    double VX, VY;  // pixels per second
    double M;
    double R;
    int32_t Colour;
};

// Acts only on balls in front of it (the side its normal points to) that move
// against the normal, all along its line, beyond its ends too.
struct TOneSidedWall {
    double X1, Y1, X2, Y2;
    double NX, NY;  // the direction from end 1 to end 2 turned by -90 degrees
};

constexpr int32_t RackBallCapacity = 100;
constexpr int32_t RackWallCapacity = 11;

constexpr int32_t EventPair = -1;
constexpr int32_t EventWall = -2;

extern std::array<TRackBall, RackBallCapacity> RackBalls;
extern int32_t RackBallCount;  // the cue ball is the last one
extern std::array<TOneSidedWall, RackWallCapacity> RackWalls;
extern int32_t RackWallCount;
extern double TimeStep;       // simulated seconds of look-ahead in a frame
extern int32_t EventKind;     // EventPair or EventWall
extern int32_t EventA, EventB;  // the ball and the other ball or wall; -1 without event
extern double BestFraction;   // of the look-ahead, where the earliest event happens
extern double EventNormalX, EventNormalY;

// Nothing past the table's capacity. The radius comes before the mass here,
// after it in the record.
void AddRackBall(int32_t colour, double x, double y, double vx, double vy, double radius, double mass);
void AddRackWall(double x1, double y1, double x2, double y2);

// The empty table, then the 36-ball rack in palette colours 15..8, the cue
// ball in cueColour and the four walls of the table.
void SetUpRack(int32_t rightEdge, int32_t bottomEdge, int32_t cueColour, TRandomSource& random);

void FindEarliestEvent();
void AdvanceRackBalls();
void ResolveRackEvent();
// Up pushes the cue ball, Left and Right turn it, Down slows it.
void SteerCueBall(uint8_t key, int32_t rightEdge, int32_t bottomEdge);

// The kinetic energy of all balls.
long double RackKineticEnergy();

// One frame of the program against its window; the key read in it.
uint8_t RunRackFrame();
int CueRackEventsMain();
