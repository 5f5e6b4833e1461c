// Faces, fonts and text on headless pages.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "headless_pages.h"
#include "platform/font_engine.h"
#include "test_support/scratch_dir.h"

namespace {

constexpr int W = 400, H = 400;
constexpr uint8_t White = 15;

uint8_t Px(int x, int y) { return Pages[0].Pixels[static_cast<size_t>(y * W + x)]; }


class Text : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(W, H, true);
        InstallStandardFaces();
        ASSERT_EQ(ResultCode, 0);
        ApplyDrawDefaults();
    }
    void TearDown() override { CloseHeadlessPages(); }
    void Clear() { std::fill(Pages[0].Pixels.begin(), Pages[0].Pixels.end(), 0); }
};

TEST_F(Text, StandardFacesResolveToRealFiles) {
    for (const char* face : {"Courier New", "MS Sans Serif", "Times New Roman", "Arial"}) {
        EXPECT_TRUE(FontFaceIsPresent(face)) << face;
        TFontRequest r{};
        std::strcpy(r.Face, face);
        r.Height = 16;
        r.Weight = 400;
        const int32_t font = OpenTextFont(r);
        ASSERT_GE(font, 0) << face;
        EXPECT_EQ(access(TextFontFile(font), R_OK), 0) << face;
        EXPECT_NE(std::string(TextFontFile(font)).find("Liberation"), std::string::npos)
            << TextFontFile(font);
    }
}

TEST_F(Text, FacesThatOnlyReachTheFallbackAreRefused) {
    EXPECT_EQ(RegisterFontFace("NoSuchFace"), -1);
    EXPECT_EQ(ResultCode, -5);
    EXPECT_EQ(RegisterFontFace(""), -1);
    // A face registered twice takes two slots, until the table is full.
    for (int16_t slot = 4; slot < 15; ++slot) EXPECT_EQ(RegisterFontFace("Arial"), slot);
    EXPECT_EQ(RegisterFontFace("Arial"), -1);
    EXPECT_EQ(ResultCode, -5);
    CloseHeadlessPages();
    EXPECT_EQ(RegisterFontFace("Arial"), -1);
    EXPECT_EQ(ResultCode, -1);
}

TEST_F(Text, FontSelectionChecksItsSlotAndSizesTheCell) {
    SelectTextFont(15, 0, 16);
    EXPECT_EQ(ResultCode, -6);
    SelectTextFont(7, 0, 16);
    EXPECT_EQ(ResultCode, -6);
    SetTextAnchor(3, 0);
    EXPECT_EQ(ResultCode, -7);
    SetTextAnchor(0, 3);
    EXPECT_EQ(ResultCode, -7);

    // Size 2 is 16 pixels: opaque text fills exactly its cell.
    SelectTextFont(3, 0, 2);
    EXPECT_EQ(ResultCode, 0);
    SetRasterMode(16);
    SetBackgroundColor(4);
    DrawTextAt(10, 10, "Hg");
    TPixelBox b = PagePixelBox();
    EXPECT_EQ(b.Y1, 10);
    EXPECT_EQ(b.Height(), 16);
    EXPECT_EQ(b.X1, 10);
    EXPECT_EQ(b.Width(), PenX - 10);
    Clear();
    SelectTextFont(3, 0, 5);
    DrawTextAt(10, 10, "Hg");
    EXPECT_EQ(PagePixelBox().Height(), 40);
    Clear();
    SelectTextFont(3, 0, 6);
    DrawTextAt(10, 10, "Hg");
    EXPECT_EQ(PagePixelBox().Height(), 6);
}

TEST_F(Text, PaletteTextIsOneColourWithoutBlending) {
    SelectTextFont(0x13, 0, 24);  // bold Arial
    DrawTextAt(5, 5, "Quick brown fox");
    int set = 0;
    for (uint8_t v : Pages[0].Pixels) {
        ASSERT_TRUE(v == 0 || v == White);
        set += v != 0;
    }
    EXPECT_GT(set, 100);
}

TEST_F(Text, AWholeWindowClearRemovesText) {
    ClearWholeWindow();
    SetDrawColor(15);
    DrawTextAt(10, 10, "Hello");
    DrawTextAt(150, 100, "Wg");
    ASSERT_GT(std::count(Pages[0].Pixels.begin(), Pages[0].Pixels.end(), uint8_t{15}), 0);
    ClearWholeWindow();
    EXPECT_EQ(std::count(Pages[0].Pixels.begin(), Pages[0].Pixels.end(), uint8_t{0}), W * H);
}

TEST_F(Text, AnchorsPlaceTheTextAroundThePen) {
    SelectTextFont(3, 0, 20);
    DrawTextAt(200, 200, "Anchor");
    const TPixelBox leftTop = PagePixelBox();
    EXPECT_GE(leftTop.X1, 200);
    EXPECT_LE(leftTop.X1, 202);
    EXPECT_GE(leftTop.Y1, 200);
    EXPECT_LE(leftTop.Y1, 206);

    Clear();
    SetTextAnchor(2, 1);
    DrawTextAt(200, 200, "Anchor");
    const TPixelBox rightBottom = PagePixelBox();
    EXPECT_LE(rightBottom.X2, 199);
    EXPECT_GE(rightBottom.X2, 196);
    EXPECT_LE(rightBottom.Y2, 199);
    EXPECT_EQ(rightBottom.Width(), leftTop.Width());
    // Right-anchored text moves the pen back by its width; centred leaves it.
    const int width = 200 - PenX;
    EXPECT_GT(width, rightBottom.Width() - 1);

    Clear();
    SetTextAnchor(1, 2);
    DrawTextAt(200, 200, "Anchor");
    const TPixelBox centreBase = PagePixelBox();
    EXPECT_NEAR((centreBase.X1 + centreBase.X2) / 2.0, 200, 2.0);
    EXPECT_LT(centreBase.Y1, 200);
    EXPECT_LE(centreBase.Y2, 199);  // no descenders in "Anchor": nothing below the baseline
    EXPECT_EQ(PenX, 200);
}

TEST_F(Text, ThePenAdvancesByTheTextWidthAndSpacing) {
    SelectTextFont(3, 0, 16);
    DrawTextAt(10, 50, "Hello");
    const int plain = PenX - 10;
    const TPixelBox b = PagePixelBox();
    EXPECT_GE(plain, b.Width());
    EXPECT_LE(plain, b.Width() + 4);
    EXPECT_EQ(PenY, 50);
    // The next text starts where this one ended.
    DrawTextAtPen("Hello");
    EXPECT_EQ(PenX - 10, 2 * plain);

    SetTextSpacing(3, 0);
    DrawTextAt(10, 100, "Hello");
    EXPECT_EQ(PenX - 10, plain + 15);
    SetTextSpacing(0, 0);
    DrawTextAt(10, 100, "a b c");
    const int spaced = PenX - 10;
    SetTextSpacing(0, 7);
    DrawTextAt(10, 100, "a b c");
    EXPECT_EQ(PenX - 10, spaced + 14);

    DrawTextAt(30, 40, "");
    EXPECT_EQ(PenX, 30);
    EXPECT_EQ(PenY, 40);
}

TEST_F(Text, DirectionNinetyRunsUpwards) {
    SelectTextFont(3, 90, 16);
    DrawTextAt(100, 300, "Upwards");
    const TPixelBox b = PagePixelBox();
    EXPECT_GT(b.Height(), b.Width());
    EXPECT_LE(b.Y2, 300);
    EXPECT_GE(b.X1, 100);  // the tops of the letters face left of the baseline... below it: anchored top
    EXPECT_EQ(PenX, 100);
    EXPECT_LT(PenY, 300 - b.Height() + 4);
}

TEST_F(Text, UnderlineAddsALineBelowTheBaseline) {
    SelectTextFont(0x0103, 0, 20);
    SetTextAnchor(0, 2);
    DrawTextAt(10, 100, "ace");
    int row = -1;
    for (int y = 100; y < 110 && row < 0; ++y) {
        bool full = true;
        for (int x = 11; x < PenX - 1; ++x) full = full && Px(x, y) != 0;
        if (full) row = y;
    }
    EXPECT_GE(row, 100);
}

// Each case runs in a process of its own: fontconfig reads its configuration once.
void ExpectFacesWithConfig(const std::string& config, uint8_t expectedSlots) {
    const std::string dir = SharedScratchDir("TAVREL_TEST_FONT_CONFIG_DIR");
    ASSERT_FALSE(dir.empty());
    const std::string file = dir + "/fonts.conf";
    std::ofstream(file) << config;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("FONTCONFIG_FILE", file.c_str(), 1);
            OpenHeadlessPages(W, H, true);
            InstallStandardFaces();
            const int16_t code = ResultCode;
            int registered = 0;
            for (int slot = 0; slot < 15; ++slot) {
                SelectTextFont(static_cast<uint16_t>(slot), 0, 16);
                registered += ResultCode == 0;
            }
            std::exit(code == -5 && registered == expectedSlots ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    RemoveScratchDir("TAVREL_TEST_FONT_CONFIG_DIR", dir);
}

TEST(TextFonts, OpeningFailsWithoutTheStandardFaces) {
    ExpectFacesWithConfig("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", 0);
}

TEST(TextFonts, MissingSansFaceStopsAfterCourier) {
    // Only the mono face is installed: "MS Sans Serif" falls back to it weakly.
    const std::string dir = SharedScratchDir("TAVREL_TEST_FONT_DIR");
    ASSERT_FALSE(dir.empty());
    const std::string link = dir + "/mono.ttf";
    std::error_code ignored;  // the child finds the link its parent made
    std::filesystem::create_symlink("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf", link,
                                    ignored);
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    ExpectFacesWithConfig(std::string("<?xml version=\"1.0\"?>\n<fontconfig><dir>") + dir +
                              "</dir><cachedir>" + dir +
                              "</cachedir><include ignore_missing=\"yes\">/etc/fonts/conf.d/"
                              "30-metric-aliases.conf</include></fontconfig>\n",
                          1);
    RemoveScratchDir("TAVREL_TEST_FONT_DIR", dir);
}

}  // namespace
