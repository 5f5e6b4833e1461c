// Writes the texture of disc_billiard_gl: a 256 x 128 picture of sea, land
// and polar ice, made from sums of sines so that every build writes the same
// bytes and the picture wraps seamlessly (the table repeats it ten times).
#include <cmath>
#include <cstdio>

#include "bitmap_file.h"

namespace {

constexpr int32_t Width = 256, Height = 128;
constexpr double Pi = 3.14159265358979323846;

// Above 0 is land; whole periods across the width keep the left and right
// edges equal.
double Elevation(int32_t x, int32_t y) {
    const double u = 2 * Pi * x / Width, v = Pi * y / Height;
    return 0.55 * std::sin(2 * u + 1.1) * std::sin(2 * v + 0.4) + 0.35 * std::sin(3 * u - 0.7 + 2 * v) +
           0.25 * std::cos(5 * u + 3 * std::sin(3 * v)) + 0.15 * std::sin(9 * u + 7 * v) - 0.12;
}

uint32_t Rgb(int red, int green, int blue) {
    return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

uint32_t EarthPixel(int32_t x, int32_t y) {
    const double latitude = std::fabs(y + 0.5 - Height / 2.0) / (Height / 2.0);  // 0 equator, 1 pole
    const double e = Elevation(x, y);
    if (latitude > 0.86 + 0.04 * std::sin(2 * Pi * 4 * x / Width)) return Rgb(236, 242, 248);
    if (e <= 0) {
        const int deep = static_cast<int>(std::fmin(-e, 1.0) * 60);
        return Rgb(18, 70 - deep / 2, 160 - deep);
    }
    if (e > 0.55) return Rgb(120, 100, 70);  // mountains
    if (latitude < 0.3 && e < 0.3) return Rgb(196, 170, 100);  // desert
    const int lush = static_cast<int>(std::fmin(e, 0.55) * 80);
    return Rgb(40 + lush / 2, 140 - lush, 50);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    TFaultText fault;
    if (!WriteBitmapFile(argv[1], EncodeBitmap(Width, Height, EarthPixel), fault)) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], fault.data());
        return 1;
    }
    return 0;
}
