// Reading a billiard window back in the end-to-end tests: the whole window
// at once, then questions about its pixels (0x00RRGGBB).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "test_support/program_test.h"

struct TScreen {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
        return Pixels[size_t(y) * size_t(Width) + size_t(x)];
    }
};

inline TScreen Grab(TProgramRun& run, int width, int height) {
    TScreen s;
    if (ReadWindowPixels(run.Driver, run.Win, 0, 0, width, height, s.Pixels)) {
        s.Width = width;
        s.Height = height;
    }
    return s;
}

inline int NonBlackIn(const TScreen& s, const TPixelRect& r) {
    int count = 0;
    for (int y = r.Y1; y <= r.Y2; y++)
        for (int x = r.X1; x <= r.X2; x++) count += s.At(x, y) != 0;
    return count;
}

inline int DistinctColours(const TScreen& s) {
    return int(std::set<uint32_t>(s.Pixels.begin(), s.Pixels.end()).size());
}

// Lit pixels (within a pixel) straight left, right, above and below (x, y)
// at distance r, and the centre dark: a circle outline of radius r.
inline bool OutlineOfRadius(const TScreen& s, int x, int y, int r) {
    auto litNear = [&](int px, int py) {
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++)
                if (s.At(px + dx, py + dy)) return true;
        return false;
    };
    return litNear(x - r, y) && litNear(x + r, y) && litNear(x, y - r) && litNear(x, y + r) && !s.At(x, y);
}

// A circle outline of some radius 8..39 about (x, y).
inline bool OutlineAround(const TScreen& s, int x, int y) {
    for (int r = 8; r <= 39; r++)
        if (OutlineOfRadius(s, x, y, r)) return true;
    return false;
}

// Started without DISPLAY: status 1 and the one line naming the program.
inline void ExpectNoDisplayLine(const char* path, const std::string& program) {
    int status = -1;
    std::string errors;
    ASSERT_TRUE(RunWithoutDisplay(path, SignalWaitMs, status, errors));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(errors, program + ": cannot open the window: DISPLAY is not set; an X display is needed\n");
}
