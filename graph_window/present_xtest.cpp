// Presents under a real X server. The window thread converts the shown page
// without the drawing lock while the program draws on another page: a program
// that flips and draws as fast as it can must never get a torn page onto the
// screen, and the two threads must never wait on each other for good. While
// the draw page is shown and refresh is on, what the primitives and text draw
// reaches the screen without a page flip; a hidden draw page shows only once
// it is shown. True-colour pages, of which a present copies only what was
// written, show exactly what they hold. And an open without the standard
// fonts fails with -5 but leaves a window that closes normally.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gl_unit.h"
#include "graph_unit.h"
#include "platform/x11_window.h"
#include "screen_image.h"
#include "test_support/program_test.h"
#include "test_support/scratch_dir.h"
#include "test_support/test_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// A deadlock would hang the test until the runner's timeout; this ends the
// process at once instead, saying why.
struct TDeadlockWatch {
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    std::thread Thread;

    explicit TDeadlockWatch(std::chrono::seconds limit) {
        Thread = std::thread([this, limit] {
            std::unique_lock<std::mutex> hold(Lock);
            if (Done.wait_for(hold, limit, [this] { return Finished; })) return;
            std::fprintf(stderr, "no progress within %lld s: the threads are deadlocked\n",
                         static_cast<long long>(limit.count()));
            std::_Exit(1);
        });
    }
    ~TDeadlockWatch() {
        {
            std::lock_guard<std::mutex> hold(Lock);
            Finished = true;
        }
        Done.notify_all();
        Thread.join();
    }
};

// What the screen showed while the frames ran: whole-window reads, and those
// not of one colour.
struct TScreenWatch {
    std::atomic<bool> Stop{false};
    std::atomic<int> Reads{0};  // read by the flipping thread too
    int Torn = 0;
    uint32_t TornFirst = 0, TornOther = 0;  // two colours of the first torn read
};

// On a connection of its own, as an onlooker would.
void WatchScreen(Window window, int width, int height, TScreenWatch& watch) {
    TXDriver x;
    if (!OpenXDriver(x)) return;
    std::vector<uint32_t> pixels;
    while (!watch.Stop) {
        if (!ReadWindowPixels(x, window, 0, 0, width, height, pixels) || pixels.empty()) continue;
        ++watch.Reads;
        const auto other = std::find_if(pixels.begin(), pixels.end(), [&](uint32_t p) { return p != pixels[0]; });
        if (other != pixels.end() && watch.Torn++ == 0) {
            watch.TornFirst = pixels[0];
            watch.TornOther = *other;
        }
    }
    CloseXDriver(x);
}

// Each frame fills the hidden page with one colour in strips of rows (so the
// filling takes long enough to overlap a present) and shows it once it is
// whole. Every tenth frame draws straight on the shown page with a single
// clear, and every fiftieth changes the palette (of palette pages). Returns
// the frame count.
int RunFrames(Clock::duration length) {
    TPaletteTable table{};
    FetchStandardPalette(table);
    if (PaletteMode) ApplyPalette(table);
    uint16_t page = 0;
    int frame = 0;
    for (const Clock::time_point end = Clock::now() + length; Clock::now() < end; ++frame) {
        const uint32_t color = 1 + uint32_t(frame % 15);
        if (frame % 50 == 49 && PaletteMode) {
            std::rotate(table.Colors.begin() + 1, table.Colors.begin() + 2, table.Colors.begin() + 16);
            ApplyPalette(table);
        }
        if (frame % 10 == 9) {
            SelectDrawPage(page);  // the shown page: direct drawing
            SetBackgroundColor(color);
            ClearWholeWindow();
            continue;
        }
        page ^= 1;
        SelectDrawPage(page);
        SetAreaFill(1, color);
        for (int32_t y = 0; y <= GetBottomEdge(); y += 8) FillBox(0, int16_t(y), GetRightEdge(), int16_t(y + 7));
        SelectShownPage(page);
    }
    return frame;
}

// Palette pages are converted for the screen, true-colour pages put as
// they are: either way the page must not change while it is being read.
TEST(Present, FastFlippingNeverShowsATornPage) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    for (const int16_t driver : {3, 9}) {
        const Window window = OpenTestWindow(x, driver, 6, "present stress");
        ASSERT_NE(window, 0u) << "result " << ResultCode;
        TScreenWatch watch;
        int frames = 0;
        {
            TDeadlockWatch deadlock(std::chrono::seconds(2 * SignalWaitMs / 1000));
            std::thread onlooker(WatchScreen, window, GetRightEdge() + 1, GetBottomEdge() + 1, std::ref(watch));
            // Long enough for a few hundred flips and a dozen reads, however
            // loaded the machine (the sanitizer build reads slowly).
            const auto start = std::chrono::steady_clock::now();
            do frames += RunFrames(std::chrono::milliseconds(500));
            while ((frames <= 200 || watch.Reads <= 10) &&
                   std::chrono::steady_clock::now() - start < std::chrono::milliseconds(SignalWaitMs));
            watch.Stop = true;
            onlooker.join();
            CloseGraphWindow();  // also must not wait for good
        }
        EXPECT_EQ(ResultCode, 0) << "driver " << driver;
        EXPECT_GT(frames, 200) << "driver " << driver;
        EXPECT_GT(watch.Reads.load(), 10) << "driver " << driver;
        EXPECT_EQ(watch.Torn, 0) << "driver " << driver << ": of " << watch.Reads.load() << " reads; one showed "
                                 << std::hex << watch.TornFirst << " and " << watch.TornOther;
    }
    CloseXDriver(x);
}

constexpr int WaitMs = SignalWaitMs;

// Red, yellow and black as the standard palette shows them.
constexpr uint32_t ScreenRed = 0xFC0000, ScreenYellow = 0xFCFC00, ScreenBlack = 0x000000;

bool AnyPixelIn(TXDriver& x, Window w, int x1, int y1, int x2, int y2, uint32_t rgb) {
    std::vector<uint32_t> pixels;
    return WaitUntil(WaitMs, [&] {
        return ReadWindowPixels(x, w, x1, y1, x2 - x1 + 1, y2 - y1 + 1, pixels) &&
               std::find(pixels.begin(), pixels.end(), rgb) != pixels.end();
    });
}

TEST(DirectDraw, ShownPageDrawingAppearsWithoutAFlip) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    const Window w = OpenTestWindow(x, 3, 4, "direct draw");
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(DirectDraw);
    const uint32_t red = ScreenRed, yellow = ScreenYellow;

    SetAreaFill(1, NamedColors[207]);
    FillBox(10, 10, 60, 60);
    EXPECT_TRUE(WaitWindowPixel(x, w, 30, 30, red, WaitMs));
    SetDrawColor(NamedColors[253]);
    DrawSegment(100, 20, 200, 20);
    EXPECT_TRUE(WaitWindowPixel(x, w, 200, 20, yellow, WaitMs));
    DrawCircle(300, 300, 40);
    EXPECT_TRUE(WaitWindowPixel(x, w, 340, 300, yellow, WaitMs));
    DrawTextAt(400, 100, "Direct");
    EXPECT_TRUE(AnyPixelIn(x, w, 400, 100, 470, 115, yellow));

    // Drawing on a hidden page leaves the screen alone until that page is shown.
    SelectDrawPage(1);
    EXPECT_FALSE(DirectDraw);
    ClearWholeWindow();
    FillBox(100, 100, 150, 150);
    // A whole present of the shown page since, and still the hidden box is not there.
    for (int round = 0; round < 2; ++round) {
        const uint32_t before = PresentCount;
        InvalidateWholeClient();
        ASSERT_TRUE(WaitUntil(WaitMs, [&] { return PresentCount != before; }));
    }
    EXPECT_EQ(ReadWindowPixel(x, w, 120, 120), ScreenBlack);
    EXPECT_EQ(ReadWindowPixel(x, w, 30, 30), red);
    SelectShownPage(1);
    EXPECT_TRUE(WaitWindowPixel(x, w, 120, 120, red, WaitMs));
    EXPECT_TRUE(WaitWindowPixel(x, w, 30, 30, ScreenBlack, WaitMs));

    CloseGraphWindow();
    CloseXDriver(x);
}

// True-colour pages put as they are, and copied into the screen images
// where each page cannot have one (what was written since the page's image
// took it in): a band drawn on a hidden page, a page shown again unchanged,
// a shape drawn on the shown page right after the flip and an OpenGL frame
// all show exactly the page.
TEST(Present, TrueColourPagesShowExactlyWhatTheyHold) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    for (const bool apart : {false, true}) {
        SCOPED_TRACE(apart ? "copied into the images" : "put as they are");
        PagesApartFromImages = apart;
        const Window w = OpenTestWindow(x, 9, 4, "true colour turns");
        PagesApartFromImages = false;
        ASSERT_NE(w, 0u);
        std::vector<uint32_t> pixels;
        const auto showsPage = [&](uint16_t page) {
            const uint32_t* words = reinterpret_cast<const uint32_t*>(Pages[page].Pixels.data());
            return WaitUntil(WaitMs, [&] {
                return ReadWindowPixels(x, w, 0, 0, PageWidth, PageHeight, pixels) &&
                       std::equal(pixels.begin(), pixels.end(), words);
            });
        };
        for (int16_t round = 0; round < 4; ++round) {
            const uint16_t page = uint16_t(1 - round % 2);
            SelectDrawPage(page);
            SetAreaFill(1, 0x102030u * uint32_t(round) + 0x405060u);
            FillBox(10, int16_t(50 * round + 20), 300, int16_t(50 * round + 60));
            SelectShownPage(page);
            EXPECT_TRUE(showsPage(page)) << "band on page " << page;
            SelectShownPage(page ^ 1);
            EXPECT_TRUE(showsPage(page ^ 1)) << "page " << (page ^ 1) << " shown again";
            SelectShownPage(page);
            FillEllipseShape(200, 200, 30, int16_t(20 + 10 * round));
            EXPECT_TRUE(showsPage(page)) << "disc on shown page " << page;
        }
        if (GlAvailable) {  // an OpenGL frame brought into the shown page
            glClearColor(0.0f, 0.5f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            glFinish();
            SetRefreshMode(2);
            EXPECT_TRUE(showsPage(ShownPage)) << "OpenGL frame";
        }
        CloseGraphWindow();
    }
    CloseXDriver(x);
}

// In the child: no fonts, so the open stops at the faces with the window
// left open; the close still works.
void OpenWithoutFonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    int16_t driver = 3;
    int16_t mode = 4;
    OpenGraphWindow(driver, mode, "no fonts");
    const bool failed = ResultCode == -5 && GraphWindowIsOpen();
    CloseGraphWindow();
    std::exit(failed && ResultCode == 0 && !GraphWindowIsOpen() ? 0 : 1);
}

// Fontconfig reads its configuration once per process: a process of its own.
TEST(DirectDraw, OpenWithoutTheStandardFacesFailsWithMinusFive) {
    const std::string dir = SharedScratchDir("TAVREL_TEST_NO_FONTS_DIR");
    ASSERT_FALSE(dir.empty());
    const std::string file = dir + "/fonts.conf";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(OpenWithoutFonts(file), ::testing::ExitedWithCode(0), "");
    RemoveScratchDir("TAVREL_TEST_NO_FONTS_DIR", dir);
}

}  // namespace
