// A present converts only the rows of a palette page that differ from what
// the screen image shows; what it skips must already be right there.
#include <gtest/gtest.h>

#include <vector>

#include "graph_unit.h"
#include "screen_image.h"

namespace {

constexpr uint32_t Untouched = 0xDEADBEEF;

class ScreenShadowTest : public ::testing::Test {
protected:
    void SetUp() override {
        PaletteMode = true;
        PageWidth = 5;
        PageHeight = 4;
        page_.Pixels.assign(20, 0);
        words_.assign(20, Untouched);
        image_.Words = words_.data();
        image_.WordsPerRow = 5;
        image_.Width = 5;
        image_.Height = 4;
        table_.fill(0);
        table_[1] = 0x00FF00;
        table_[2] = 0x0000FF;
        ForgetScreenShadow(shadow_);
    }
    void TearDown() override {
        PaletteMode = false;
        PageWidth = PageHeight = 0;
    }
    void Convert(const TClientRect& r) { ConvertChangedPagePixels(page_, table_, r, image_, shadow_); }
    uint32_t At(int x, int y) const { return words_[size_t(y * 5 + x)]; }
    void Scribble() { words_.assign(20, Untouched); }  // shows what a conversion wrote
    void ChangeBlocksOfAWideRow();

    TPage page_;
    TScreenWords table_{};
    TScreenImage image_;
    TScreenShadow shadow_;
    std::vector<uint32_t> words_;
};

TEST_F(ScreenShadowTest, OnlyChangedRowsAreConvertedAgain) {
    Convert({0, 0, 4, 3});
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(4, 3), 0u);
    Scribble();
    page_.Pixels[2 * 5 + 3] = 1;  // row 2 changes
    Convert({0, 0, 4, 3});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(At(x, y), y == 2 ? (x == 3 ? 0x00FF00u : 0u) : Untouched) << x << "," << y;
}

TEST_F(ScreenShadowTest, NewColoursConvertEveryRow) {
    page_.Pixels[0] = 1;
    Convert({0, 0, 4, 3});
    Scribble();
    table_[1] = 0xFF0000;
    Convert({0, 0, 4, 3});
    EXPECT_EQ(At(0, 0), 0xFF0000u);
    EXPECT_EQ(At(1, 3), 0u);
}

// A rectangle that covers part of a row says nothing about the rest of it.
TEST_F(ScreenShadowTest, PartOfARowLeavesTheRestUnknown) {
    Convert({1, 1, 2, 1});
    EXPECT_EQ(At(1, 1), 0u);
    EXPECT_EQ(At(0, 1), Untouched);
    Convert({0, 0, 4, 3});
    EXPECT_EQ(At(0, 1), 0u);
    EXPECT_EQ(At(4, 1), 0u);
}

// Once a row is known, a part of it is compared and converted by itself.
TEST_F(ScreenShadowTest, PartOfAKnownRowIsComparedByItself) {
    Convert({0, 0, 4, 3});
    Scribble();
    page_.Pixels[1 * 5 + 4] = 2;
    Convert({3, 1, 4, 1});
    EXPECT_EQ(At(4, 1), 0x0000FFu);
    EXPECT_EQ(At(3, 1), 0u);
    EXPECT_EQ(At(2, 1), Untouched);
    Scribble();
    Convert({0, 0, 4, 3});  // the whole row now matches again
    EXPECT_EQ(At(4, 1), Untouched);
}

// In a known row only the 64-pixel blocks that changed are converted, a
// short last block included, on either conversion path.
TEST_F(ScreenShadowTest, OnlyChangedBlocksOfAKnownRowAreConverted) {
    for (const bool portable : {false, true}) {
        PortableConversionOnly = portable;
        SetUp();
        ChangeBlocksOfAWideRow();
        PortableConversionOnly = false;
    }
}

void ScreenShadowTest::ChangeBlocksOfAWideRow() {
    SCOPED_TRACE(PortableConversionOnly ? "portable path" : "wide path where there is one");
    PageWidth = 200;
    PageHeight = 1;
    page_.Pixels.assign(200, 0);
    words_.assign(200, Untouched);
    image_.Words = words_.data();
    image_.WordsPerRow = image_.Width = 200;
    image_.Height = 1;
    Convert({0, 0, 199, 0});
    words_.assign(200, Untouched);
    page_.Pixels[63] = 1;  // the blocks at 0 and 64, side by side
    page_.Pixels[64] = 2;
    page_.Pixels[199] = 1;  // the short block at 192
    Convert({0, 0, 199, 0});
    EXPECT_EQ(words_[0], 0u);
    EXPECT_EQ(words_[63], 0x00FF00u);
    EXPECT_EQ(words_[64], 0x0000FFu);
    EXPECT_EQ(words_[127], 0u);
    EXPECT_EQ(words_[128], Untouched);
    EXPECT_EQ(words_[191], Untouched);
    EXPECT_EQ(words_[192], 0u);
    EXPECT_EQ(words_[199], 0x00FF00u);
    words_.assign(200, Untouched);
    Convert({0, 0, 199, 0});  // the shadow took the change in
    EXPECT_EQ(words_[64], Untouched);
}

TEST_F(ScreenShadowTest, ForgettingConvertsEverythingAgain) {
    Convert({0, 0, 4, 3});
    Scribble();
    ForgetScreenShadow(shadow_);
    Convert({0, 0, 4, 3});
    EXPECT_EQ(At(2, 2), 0u);
}

}  // namespace
