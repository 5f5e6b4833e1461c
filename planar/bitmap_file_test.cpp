#include "bitmap_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Top row: red, green, blue; bottom row: white, black, grey.
uint32_t SixPixels(int32_t x, int32_t y) {
    static const uint32_t colours[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFFFF, 0x000000, 0x808080}};
    return colours[y][x];
}

std::string TempPath(const char* name) {
    return testing::TempDir() + "bitmap_" + std::to_string(getpid()) + "_" + name;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    TFaultText fault;
    ASSERT_TRUE(WriteBitmapFile(path.c_str(), bytes, fault)) << fault.data();
}

TEST(BitmapWriter, ThreeByTwoPadsRowsAndStoresBottomRowFirstInBlueGreenRed) {
    const std::vector<uint8_t> file = EncodeBitmap(3, 2, SixPixels);
    ASSERT_EQ(file.size(), 78u);  // 54 + 2 rows of 9 bytes padded to 12
    const std::vector<uint8_t> header{'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                      3,   0,   0,  0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0,
                                      0,   0,   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0,
                                      0,   0,   0,  0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), header);
    const std::vector<uint8_t> rows{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0x80, 0x80, 0, 0, 0,
                                    0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), rows);
}

TEST(BitmapReader, AFileRoundTripsAndTurnsToRedGreenBlueKeepingThePadding) {
    const std::string path = TempPath("six.bmp");
    WriteBytes(path, EncodeBitmap(3, 2, SixPixels));
    TBitmapImage image;
    TFaultText fault;
    ASSERT_TRUE(ReadBitmapFile(path.c_str(), image, fault)) << fault.data();
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    ASSERT_EQ(image.Bytes.size(), 78u);
    SwapBitmapToRgb(image);
    const std::vector<uint8_t> rows{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0x80, 0x80, 0, 0, 0,
                                    0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(image.Bytes.begin() + 54, image.Bytes.end()), rows);
    unlink(path.c_str());
}

TEST(BitmapReader, BytesAfterTheRowsAreAllowedAndLeftOut) {
    std::vector<uint8_t> file = EncodeBitmap(3, 2, SixPixels);
    file.resize(100, 0xAB);
    TBitmapImage image;
    TFaultText fault;
    ASSERT_TRUE(ParseBitmap(file.data(), file.size(), image, fault)) << fault.data();
    EXPECT_EQ(image.Bytes.size(), 78u);
}

TEST(BitmapReader, TheBuildsEarthIsSeaLandAndIce) {
    TBitmapImage image;
    TFaultText fault;
    ASSERT_TRUE(ReadBitmapFile(EARTH_BMP_PATH, image, fault)) << fault.data();
    EXPECT_EQ(image.Width, 256);
    EXPECT_EQ(image.Height, 128);
    EXPECT_EQ(image.Bytes.size(), 98358u);
    // Blue, green, red in the file: ice along the top and bottom rows.
    const uint8_t* top = image.Pixels() + 127 * 768;
    const uint8_t* bottom = image.Pixels();
    for (int x = 0; x < 256; x++) {
        EXPECT_EQ(top[3 * x], 248);
        EXPECT_EQ(top[3 * x + 1], 242);
        EXPECT_EQ(top[3 * x + 2], 236);
        EXPECT_EQ(bottom[3 * x + 2], 236);
    }
    // Between the ice: sea and land.
    int sea = 0, land = 0;
    for (int y = 30; y < 98; y++) {
        const uint8_t* row = image.Pixels() + y * 768;
        for (int x = 0; x < 256; x++) (row[3 * x] > 90 && row[3 * x + 2] < 30 ? sea : land)++;
    }
    EXPECT_GT(sea, 256 * 68 / 3);
    EXPECT_GT(land, 256 * 68 / 6);
}

struct TBadHeader {
    const char* Name;
    uint32_t Offset, Size;
    uint32_t Value;
    const char* Fault;
};

TEST(BitmapReader, EachHeaderFaultIsRefusedWithItsReason) {
    const TBadHeader cases[] = {
        {"signature", 0, 2, 'B' | 'A' << 8, "it does not start with \"BM\""},
        {"offset", 10, 4, 138, "its pixels start at byte 138, not 54"},
        {"info size", 14, 4, 124, "its info header has 124 bytes, not 40"},
        {"planes", 26, 2, 2, "it has 2 colour planes, not 1"},
        {"bits", 28, 2, 32, "it has 32 bits per pixel, not 24"},
        {"compression", 30, 4, 1, "it is compressed (method 1)"},
        {"zero width", 18, 4, 0, "its width 0 is outside 1..8192"},
        {"wide", 18, 4, 8193, "its width 8193 is outside 1..8192"},
        {"negative height", 22, 4, 0xFFFFFFFE, "its height -2 is outside 1..8192"},
        {"lying height", 22, 4, 3, "its 3 x 3 pixels need 90 bytes but the file has 78"},
        {"lying width", 18, 4, 5, "its 5 x 2 pixels need 86 bytes but the file has 78"},
    };
    for (const TBadHeader& c : cases) {
        std::vector<uint8_t> file = EncodeBitmap(3, 2, SixPixels);
        for (uint32_t i = 0; i < c.Size; i++) file[c.Offset + i] = uint8_t(c.Value >> (8 * i));
        TBitmapImage image;
        TFaultText fault;
        EXPECT_FALSE(ParseBitmap(file.data(), file.size(), image, fault)) << c.Name;
        EXPECT_STREQ(fault.data(), c.Fault) << c.Name;
    }
}

TEST(BitmapReader, MissingShortDirectoryAndFifoAreRefusedWithoutBlocking) {
    TBitmapImage image;
    TFaultText fault;
    const std::string missing = TempPath("missing.bmp");
    EXPECT_FALSE(ReadBitmapFile(missing.c_str(), image, fault));
    EXPECT_STREQ(fault.data(), "there is no such file");

    const std::string dir = TempPath("dir.bmp");
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    EXPECT_FALSE(ReadBitmapFile(dir.c_str(), image, fault));
    EXPECT_STREQ(fault.data(), "it is a directory, not a file");
    rmdir(dir.c_str());

    // Nobody writes to this FIFO: a blocking open would hang here.
    const std::string fifo = TempPath("fifo.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadBitmapFile(fifo.c_str(), image, fault));
    EXPECT_STREQ(fault.data(), "it is not a regular file");
    unlink(fifo.c_str());

    const std::string shortFile = TempPath("short.bmp");
    std::vector<uint8_t> file = EncodeBitmap(3, 2, SixPixels);
    file.resize(40);
    WriteBytes(shortFile, file);
    EXPECT_FALSE(ReadBitmapFile(shortFile.c_str(), image, fault));
    EXPECT_STREQ(fault.data(), "it has 40 bytes, fewer than the 54-byte header");
    file = EncodeBitmap(3, 2, SixPixels);
    file.resize(77);
    WriteBytes(shortFile, file);
    EXPECT_FALSE(ReadBitmapFile(shortFile.c_str(), image, fault));
    EXPECT_STREQ(fault.data(), "its 3 x 2 pixels need 78 bytes but the file has 77");
    EXPECT_TRUE(image.Bytes.empty());
    unlink(shortFile.c_str());
}

}  // namespace
