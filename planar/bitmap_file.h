// Uncompressed 24-bit bitmaps with the 54-byte header: the texture that
// disc_billiard_gl reads, and the one our generator writes. Writer and reader
// share the one header description below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t BitmapHeaderSize = 54;
constexpr uint32_t BitmapInfoSize = 40;
constexpr int32_t BitmapSideLimit = 8192;

struct TBitmapHeader {
    uint16_t Signature;  // "BM"
    uint32_t FileSize;
    uint32_t Reserved;
    uint32_t DataOffset;
    uint32_t InfoSize;
    int32_t Width;
    int32_t Height;  // rows bottom first; negative would be top first
    uint16_t Planes;
    uint16_t BitsPerPixel;
    uint32_t Compression;
    uint32_t ImageSize;
    int32_t XPixelsPerMetre;
    int32_t YPixelsPerMetre;
    uint32_t ColoursUsed;
    uint32_t ColoursImportant;
};

constexpr uint16_t BitmapSignature = 'B' | 'M' << 8;

// Every header field with its byte offset, little-endian in the file.
template <class Header, class Visit>
void VisitBitmapHeader(Header& h, Visit visit) {
    visit(0, h.Signature);
    visit(2, h.FileSize);
    visit(6, h.Reserved);
    visit(10, h.DataOffset);
    visit(14, h.InfoSize);
    visit(18, h.Width);
    visit(22, h.Height);
    visit(26, h.Planes);
    visit(28, h.BitsPerPixel);
    visit(30, h.Compression);
    visit(34, h.ImageSize);
    visit(38, h.XPixelsPerMetre);
    visit(42, h.YPixelsPerMetre);
    visit(46, h.ColoursUsed);
    visit(50, h.ColoursImportant);
}

void EncodeBitmapHeader(const TBitmapHeader& header, uint8_t* bytes);
void DecodeBitmapHeader(const uint8_t* bytes, TBitmapHeader& header);

// A row's bytes: three per pixel, padded to a multiple of 4.
constexpr uint64_t BitmapRowBytes(int32_t width) {
    return (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
}

// A whole file for a width x height image; pixel(x, y) gives 0x00RRGGBB with
// y = 0 the top row.
using TPixelSource = uint32_t (*)(int32_t x, int32_t y);
std::vector<uint8_t> EncodeBitmap(int32_t width, int32_t height, TPixelSource pixel);

// A file as read: the header and the pixel rows as they stand in the file.
struct TBitmapImage {
    int32_t Width = 0, Height = 0;
    std::vector<uint8_t> Bytes;  // the header, then Height padded rows
    const uint8_t* Pixels() const { return Bytes.data() + BitmapHeaderSize; }
    uint8_t* Pixels() { return Bytes.data() + BitmapHeaderSize; }
};

using TFaultText = std::array<char, 160>;

// The header checks: signature, data offset, info header size, planes, bit
// depth, compression, sides within 1..BitmapSideLimit and the rows within
// fileSize. False with the fault in words.
bool CheckBitmapHeader(const uint8_t* bytes, uint64_t fileSize, TBitmapHeader& header,
                       TFaultText& fault);
// The same for a file held in memory.
bool ParseBitmap(const uint8_t* bytes, size_t size, TBitmapImage& image, TFaultText& fault);
// Reads a regular file; anything else (missing, a directory, a FIFO) is
// refused without blocking.
bool ReadBitmapFile(const char* path, TBitmapImage& image, TFaultText& fault);
// Writes bytes to path; false with the fault when it cannot.
bool WriteBitmapFile(const char* path, const std::vector<uint8_t>& bytes, TFaultText& fault);

// Turns each pixel's blue, green, red into red, green, blue, padding kept.
void SwapBitmapToRgb(TBitmapImage& image);
