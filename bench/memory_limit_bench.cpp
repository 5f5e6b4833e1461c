// The library's figure beside what the machine does without it, in one
// process: a true-colour page clear beside memset of the same bytes, palette
// and true-colour page presents beside a plain XShmPutImage of the same size, and
// seven held-key polls of one frame beside one keyboard query. Needs an X
// server (tools/with_xvfb.sh); run from a Release build.
#include <benchmark/benchmark.h>

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>
#include <thread>

#include "bench_window.h"
#include "graph_unit.h"
#include "platform/x11_window.h"

namespace {

// ---- Clear ----------------------------------------------------------------------

// Drawing on a hidden page, as programs do. The colour changes every time:
// a clear in the colour the page already holds fills only what was drawn
// since, and would time nothing.
void BM_ClearTrueColourPage800x600(benchmark::State& state) {
    if (!EnsureBenchWindow(9, state)) return;
    SelectShownPage(0);
    SelectDrawPage(1);
    uint32_t colour = 0x203040;
    for (auto _ : state) {
        colour ^= 0x010101;
        SetBackgroundColor(colour);
        ClearWholeWindow();
        benchmark::ClobberMemory();
    }
}

void BM_MemsetTrueColourPage800x600(benchmark::State& state) {
    if (!EnsureBenchWindow(9, state)) return;
    TPageBytes& pixels = Pages[2].Pixels;
    for (auto _ : state) {
        std::memset(pixels.data(), 0x40, pixels.size());
        benchmark::ClobberMemory();
    }
}

// ---- Present --------------------------------------------------------------------

// Makes the request and waits until the window thread has put the frame.
template <typename Request>
void AwaitPresentAfter(Request request) {
    const uint32_t before = PresentCount;
    request();
    while (PresentCount == before) std::this_thread::yield();
}

// From the request to the end of the put, the window thread's whole work.
void BM_PresentPalettePage800x600(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    SelectShownPage(0);
    SelectDrawPage(1);
    for (auto _ : state) {
        AwaitPresentAfter(InvalidateWholeClient);
    }
}

// The same frame when the program drew a 40-row band since the page was last
// presented: what a frame of a moving picture costs.
void BM_PresentPalettePageAfterBand(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    SelectShownPage(0);
    SelectDrawPage(0);
    SetRefreshMode(0);
    int16_t y = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SetAreaFill(1, NamedColors[250]);
        FillBox(0, y, 799, int16_t(y + 39));
        y = int16_t((y + 40) % 560);
        state.ResumeTiming();
        AwaitPresentAfter(InvalidateWholeClient);
    }
    SetRefreshMode(1);
}

// Every row differs from what the screen shows, as when two pages of
// different pictures take turns.
void BM_PresentPalettePageAllChanged(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    SelectDrawPage(2);
    // The pages start alike: page 0 is made to differ from page 1 in every
    // row, whichever benchmarks ran before.
    {
        std::lock_guard lock(DrawLock);
        TPageBytes& pixels = Pages[0].Pixels;
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(Pages[1].Pixels[i] + 1 + i % 5);
    }
    uint16_t page = 0;
    for (auto _ : state) {
        AwaitPresentAfter([&] { SelectShownPage(page); });
        page ^= 1;
    }
}

// Two pages taking turns, each changed since it was last shown by the
// untimed step `change`, which gets the page's pixels and a count that grows.
template <typename Change>
void PresentChangedPages(benchmark::State& state, Change change) {
    if (!EnsureBenchWindow(3, state)) return;
    SelectDrawPage(2);
    uint16_t page = 0;
    uint8_t stroke = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::lock_guard lock(DrawLock);
            change(Pages[page].Pixels, ++stroke);
        }
        state.ResumeTiming();
        AwaitPresentAfter([&] { SelectShownPage(page); });
        page ^= 1;
    }
}

// One pixel of every row changed: no row can be skipped.
void BM_PresentPalettePageEveryRowRedrawn(benchmark::State& state) {
    PresentChangedPages(state, [](TPageBytes& pixels, uint8_t stroke) {
        for (size_t row = 0; row < 600; ++row) pixels[row * 800 + row % 800] = stroke;
    });
}

// Every pixel changed, as a picture that moves as a whole: the whole image
// is written anew, so compare it with the put of a rewritten image.
void BM_PresentPalettePageEveryPixelChanged(benchmark::State& state) {
    PresentChangedPages(state, [](TPageBytes& pixels, uint8_t stroke) {
        std::memset(pixels.data(), stroke, pixels.size());
    });
}

// A program's frame: the page cleared and thirty discs drawn where they have
// moved to since that page was last shown.
void BM_PresentPalettePageProgramFrame(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    uint16_t page = 0;
    int16_t step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SelectDrawPage(page);
        SetBackgroundColor(NamedColors[0]);
        ClearWholeWindow();
        SetAreaFill(1, NamedColors[12]);
        for (int16_t disc = 0; disc < 30; ++disc)
            FillEllipseShape(int16_t(40 + (disc * 97 + step * 3) % 720), int16_t(40 + (disc * 53 + step * 2) % 520), 18, 18);
        ++step;
        state.ResumeTiming();
        AwaitPresentAfter([&] { SelectShownPage(page); });
        page ^= 1;
    }
    SelectDrawPage(2);
}

// True colour: two pages taking turns, `rows` rows of each drawn anew in a
// new colour (untimed) while it was hidden. The pages are the server's
// images: a present puts the page itself.
void PresentTrueColourPages(benchmark::State& state, int16_t rows) {
    if (!EnsureBenchWindow(9, state)) return;
    uint16_t page = 0;
    int16_t y = 0;
    uint32_t colour = 0x203040;
    for (auto _ : state) {
        if (rows > 0) {
            state.PauseTiming();
            SelectDrawPage(page);
            SetAreaFill(1, colour ^= 0x010101);
            FillBox(0, y, 799, int16_t(y + rows - 1));
            y = int16_t((y + rows) % (600 - rows + 1));
            state.ResumeTiming();
        }
        AwaitPresentAfter([&] { SelectShownPage(page); });
        page ^= 1;
    }
    SelectDrawPage(2);
}

void BM_PresentTrueColourPageShownAgain(benchmark::State& state) { PresentTrueColourPages(state, 0); }
void BM_PresentTrueColourPageAfterBand(benchmark::State& state) { PresentTrueColourPages(state, 40); }
void BM_PresentTrueColourPageEveryPixelChanged(benchmark::State& state) { PresentTrueColourPages(state, 600); }

// The anchor: a window of our own and an 800 x 600 shared-memory image put
// and synchronised, nothing else.
// rewrittenBlocks: how many 64-pixel blocks of each row are written anew
// (untimed) before each put, at places that move from row to row; 13 is the
// whole row.
void PlainShmPuts(benchmark::State& state, int rewrittenBlocks) {
    Display* display = XOpenDisplay(nullptr);
    if (!display || !XShmQueryExtension(display)) {
        state.SkipWithError("no X display with MIT-SHM");
        if (display) XCloseDisplay(display);
        return;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0, 0, 0);
    XMapWindow(display, window);
    const GC gc = XCreateGC(display, window, 0, nullptr);
    XShmSegmentInfo info{};
    XImage* image = XShmCreateImage(display, DefaultVisual(display, screen), unsigned(DefaultDepth(display, screen)),
                                    ZPixmap, nullptr, &info, 800, 600);
    info.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * 600, IPC_CREAT | 0600);
    info.shmaddr = image->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
    info.readOnly = False;
    XShmAttach(display, &info);
    XSync(display, False);
    shmctl(info.shmid, IPC_RMID, nullptr);
    std::memset(image->data, 0x55, size_t(image->bytes_per_line) * 600);
    uint8_t fill = 0x55;
    for (auto _ : state) {
        if (rewrittenBlocks >= 13) {
            state.PauseTiming();
            std::memset(image->data, ++fill, size_t(image->bytes_per_line) * 600);
            state.ResumeTiming();
        } else if (rewrittenBlocks > 0) {
            state.PauseTiming();
            ++fill;
            for (int row = 0; row < 600; ++row)
                for (int k = 0; k < rewrittenBlocks; ++k) {
                    const int block = (row / 8 + 4 * k) % 12;
                    std::memset(image->data + row * image->bytes_per_line + block * 256, fill, 256);
                }
            state.ResumeTiming();
        }
        XShmPutImage(display, window, gc, image, 0, 0, 0, 0, 800, 600, False);
        XSync(display, False);
    }
    XShmDetach(display, &info);
    XSync(display, False);
    image->data = nullptr;
    XDestroyImage(image);
    shmdt(info.shmaddr);
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

void BM_PlainShmPutImage800x600(benchmark::State& state) { PlainShmPuts(state, 0); }
// The same when the image was written anew (untimed) before each put, as a
// present of a page that changed everywhere has: the server then reads lines
// that another core has just written.
void BM_PlainShmPutImageRewritten800x600(benchmark::State& state) { PlainShmPuts(state, 13); }
// A quarter of the blocks written anew, about what the program frame above
// changes: the floor for presenting that frame.
void BM_PlainShmPutImageQuarterRewritten800x600(benchmark::State& state) { PlainShmPuts(state, 3); }

// ---- Held keys ------------------------------------------------------------------

// The keys a wire program polls in one frame.
void BM_SevenKeyIsHeldPolls(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    constexpr int32_t keys[7] = {37, 38, 39, 40, 16, 17, 32};
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // the next frame
        state.ResumeTiming();
        for (const int32_t key : keys) benchmark::DoNotOptimize(KeyIsHeld(key));
    }
}

void BM_OneKeymapQuery(benchmark::State& state) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display");
        return;
    }
    char keys[32];
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        state.ResumeTiming();
        XQueryKeymap(display, keys);
        benchmark::DoNotOptimize(keys);
    }
    XCloseDisplay(display);
}

BENCHMARK(BM_MemsetTrueColourPage800x600)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ClearTrueColourPage800x600)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PlainShmPutImage800x600)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PlainShmPutImageRewritten800x600)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PlainShmPutImageQuarterRewritten800x600)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePage800x600)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePageAfterBand)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePageAllChanged)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePageEveryRowRedrawn)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePageEveryPixelChanged)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentPalettePageProgramFrame)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentTrueColourPageShownAgain)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentTrueColourPageAfterBand)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PresentTrueColourPageEveryPixelChanged)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_OneKeymapQuery)->UseRealTime()->Iterations(300)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SevenKeyIsHeldPolls)->UseRealTime()->Iterations(300)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
