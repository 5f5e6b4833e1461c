// Damaged and hostile bitmaps: every one is accepted or refused with a
// reason, and nothing is read outside the bytes given. Each buffer is its
// own allocation of exactly its size, so the address sanitizer sees any read
// past it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "random_source.h"

namespace {

uint32_t Pattern(int32_t x, int32_t y) { return static_cast<uint32_t>(x * 0x10203 + y * 0x30201); }

// Parses a copy of bytes held in an allocation of exactly that size.
bool ParseExact(const std::vector<uint8_t>& bytes, TBitmapImage& image, TFaultText& fault) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
    fault[0] = 'x';
    fault[1] = 0;
    return ParseBitmap(exact.get(), bytes.size(), image, fault);
}

// Accepted: the image lies within the bytes; refused: a reason was given.
void ExpectSound(const std::vector<uint8_t>& bytes, const char* what) {
    TBitmapImage image;
    TFaultText fault;
    if (ParseExact(bytes, image, fault)) {
        ASSERT_GE(image.Width, 1) << what;
        ASSERT_LE(image.Width, 8192) << what;
        ASSERT_GE(image.Height, 1) << what;
        ASSERT_LE(image.Height, 8192) << what;
        ASSERT_EQ(image.Bytes.size(), 54 + BitmapRowBytes(image.Width) * uint64_t(image.Height)) << what;
        ASSERT_LE(image.Bytes.size(), bytes.size()) << what;
    } else {
        ASSERT_GT(std::strlen(fault.data()), 5u) << what;
    }
}

TEST(BitmapFuzz, EveryTruncationIsRefusedUntilTheRowsAreComplete) {
    const std::vector<uint8_t> whole = EncodeBitmap(5, 3, Pattern);  // rows of 15 + 1 padding
    ASSERT_EQ(whole.size(), 102u);
    for (size_t n = 0; n <= whole.size(); n++) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(n));
        TBitmapImage image;
        TFaultText fault;
        EXPECT_EQ(ParseExact(cut, image, fault), n == 102) << n;
        if (n < 102) {
            EXPECT_GT(std::strlen(fault.data()), 5u) << n;
        }
    }
}

TEST(BitmapFuzz, EveryTruncationReadFromAFileToo) {
    const std::vector<uint8_t> whole = EncodeBitmap(5, 3, Pattern);
    const std::string path = testing::TempDir() + "fuzz_" + std::to_string(getpid()) + ".bmp";
    for (size_t n = 0; n <= whole.size(); n++) {
        TFaultText fault;
        ASSERT_TRUE(WriteBitmapFile(path.c_str(), std::vector<uint8_t>(whole.begin(), whole.begin() + long(n)),
                                    fault));
        TBitmapImage image;
        EXPECT_EQ(ReadBitmapFile(path.c_str(), image, fault), n == 102) << n;
        if (n < 102) {
            EXPECT_GT(std::strlen(fault.data()), 5u) << n;
            EXPECT_TRUE(image.Bytes.empty()) << n;
        }
    }
    unlink(path.c_str());
}

TEST(BitmapFuzz, EachHeaderFieldTakesExtremeValues) {
    const uint32_t values[] = {0u,          1u,          2u,          3u,          24u,
                               40u,         54u,         8191u,       8192u,       8193u,
                               65535u,      65536u,      0x7FFFFFFEu, 0x7FFFFFFFu, 0x80000000u,
                               0x80000001u, 0xFFFFE000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0x55555555u};
    // Offsets and sizes of the fifteen fields.
    const uint32_t fields[][2] = {{0, 2},  {2, 4},  {6, 4},  {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2},
                                  {28, 2}, {30, 4}, {34, 4}, {38, 4}, {42, 4}, {46, 4}, {50, 4}};
    for (const auto& field : fields)
        for (uint32_t value : values)
            for (int shape = 0; shape < 2; shape++) {
                // A small image, and one large enough that a lying size could
                // reach past it into other memory.
                std::vector<uint8_t> file = shape ? EncodeBitmap(64, 40, Pattern) : EncodeBitmap(5, 3, Pattern);
                for (uint32_t i = 0; i < field[1]; i++) file[field[0] + i] = uint8_t(value >> (8 * i));
                const std::string what = "field at " + std::to_string(field[0]) + " = " + std::to_string(value);
                ExpectSound(file, what.c_str());
            }
}

TEST(BitmapFuzz, RandomBytesAndRandomHeaders) {
    TRandomSource random;
    SeedRandom(random, 99);
    for (int round = 0; round < 20000; round++) {
        std::vector<uint8_t> bytes(size_t(RandomBelow(random, 400)));
        for (uint8_t& b : bytes) b = uint8_t(RandomBelow(random, 256));
        const int kind = RandomBelow(random, 3);
        if (kind >= 1 && bytes.size() >= 54) {
            // A plausible header with random sides, so that the size checks
            // are what decides.
            const std::vector<uint8_t> valid = EncodeBitmap(1, 1, Pattern);
            std::memcpy(bytes.data(), valid.data(), 54);
            const uint32_t width = uint32_t(RandomBelow(random, 40)) - (kind == 2 ? 20u : 0u);
            const uint32_t height = uint32_t(RandomBelow(random, 40)) - (kind == 2 ? 20u : 0u);
            for (uint32_t i = 0; i < 4; i++) {
                bytes[18 + i] = uint8_t(width >> (8 * i));
                bytes[22 + i] = uint8_t(height >> (8 * i));
            }
        }
        ExpectSound(bytes, ("round " + std::to_string(round)).c_str());
    }
}

}  // namespace
