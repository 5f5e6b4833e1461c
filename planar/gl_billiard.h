// disc_billiard_gl: the fifty-disc billiard on a textured table, seen by an
// orbit camera that the left-button drag turns.
#pragma once

#include <cstdint>

#include "bitmap_file.h"

extern double CamPitch, CamYaw, CamDist;  // degrees, degrees, scene units
extern double TableCentreX, TableCentreY, TableZ;
extern int32_t GlMouseX, GlMouseY, PrevMouseX, PrevMouseY;

constexpr const char* TextureFileName = "earth.bmp";

struct TCameraPlacement {
    double EyeX, EyeY, EyeZ;
    double UpX, UpY, UpZ;
};

// The eye on its orbit about the table centre and an up vector at right
// angles to the line of sight. Wherever the cosine of the pitch is not 0 it
// gives the view of the up vector (0, cos pitch, 0); at pitch 90 + 180n,
// where that one degenerates, it gives the limit of the pitches nearby.
TCameraPlacement PlaceCamera(double yawDegrees, double pitchDegrees, double distance);

// With the window's context current: camera start values, the texture from
// earth.bmp in the working directory, the discs. False with the fault when the
// texture cannot be used.
bool StartGlBilliard(uint32_t seed, TFaultText& fault);
// True when a key waits (the program then ends; the key stays unread).
bool RunGlBilliardFrame();
// Releases the texture's file content and the sphere lists (the window's
// context still current).
void EndGlBilliard();
