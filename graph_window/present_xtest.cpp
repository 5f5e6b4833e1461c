// The window thread converts the shown page without the drawing lock while
// the program draws on another page. Under a real X server, a program that
// flips and draws as fast as it can must never get a torn page onto the
// screen, and the two threads must never wait on each other for good.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "graph_unit.h"
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
// clear, and every fiftieth changes the palette. Returns the frame count.
int RunFrames(Clock::duration length) {
    TPaletteTable table{};
    FetchStandardPalette(table);
    uint16_t page = 0;
    int frame = 0;
    for (const Clock::time_point end = Clock::now() + length; Clock::now() < end; ++frame) {
        const uint32_t color = 1 + uint32_t(frame % 15);
        if (frame % 50 == 49) {
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

TEST(Present, FastFlippingNeverShowsATornPage) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    const Window window = OpenTestWindow(x, 3, 6, "present stress");
    ASSERT_NE(window, 0u) << "result " << ResultCode;
    TPaletteTable table{};
    FetchStandardPalette(table);
    ApplyPalette(table);

    TScreenWatch watch;
    int frames = 0;
    {
        TDeadlockWatch deadlock(std::chrono::seconds(15));
        std::thread onlooker(WatchScreen, window, GetRightEdge() + 1, GetBottomEdge() + 1, std::ref(watch));
        // Long enough for a few hundred flips and a dozen reads, however
        // loaded the machine (the sanitizer build reads slowly).
        const auto start = std::chrono::steady_clock::now();
        do frames += RunFrames(std::chrono::milliseconds(500));
        while ((frames <= 200 || watch.Reads <= 10) &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(10));
        watch.Stop = true;
        onlooker.join();
        CloseGraphWindow();  // also must not wait for good
    }
    EXPECT_EQ(ResultCode, 0);
    EXPECT_GT(frames, 200);
    EXPECT_GT(watch.Reads.load(), 10);
    EXPECT_EQ(watch.Torn, 0) << "of " << watch.Reads.load() << " reads; one showed " << std::hex << watch.TornFirst
                             << " and " << watch.TornOther;
    CloseXDriver(x);
}

}  // namespace
