// The image through which the shown page reaches the window: a shared-memory
// image (MIT-SHM), or a plain XPutImage where the server cannot share memory
// (a remote display).
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "platform/x11_shared.h"

namespace TavrelInternal {
std::atomic<uint32_t> PresentCount{0};
std::array<TScreenImage, MaxScreenImages> ScreenImages;
int32_t ScreenImageCount = 0;
}  // namespace TavrelInternal

namespace XPlatform {

namespace {

// Window thread only. The images are all shared or all plain.
GC WindowGC = nullptr;
std::array<XImage*, MaxScreenImages> Images{};
std::array<XShmSegmentInfo, MaxScreenImages> ShmInfos{};
bool ShmAttached = false;

// Where an 8-bit component goes in a channel of the visual: its top bits, so
// that wider channels (deep colour) keep the brightness. False for channels
// narrower than 8 bits or outside 32 bits.
bool ChannelShift(unsigned long mask, uint32_t& shift) {
    int high = 31, low = 0;
    while (high >= 0 && !(mask & (1ul << high))) --high;
    while (low < 32 && !(mask & (1ul << low))) ++low;
    if ((uint64_t(mask) >> 32) || high - low + 1 < 8) return false;
    shift = uint32_t(high - 7);
    return true;
}

bool CreateShmImage(Visual* visual, int depth, XImage*& image, XShmSegmentInfo& info) {
    image = XShmCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, nullptr, &info, unsigned(ClientWidth),
                            unsigned(ClientHeight));
    if (!image) return false;
    bool attached = false;
    info.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(image->height), IPC_CREAT | 0600);
    if (info.shmid >= 0) {
        info.shmaddr = static_cast<char*>(shmat(info.shmid, nullptr, 0));
        if (info.shmaddr != reinterpret_cast<char*>(-1)) {
            image->data = info.shmaddr;
            info.readOnly = False;
            WindowXError = 0;
            XShmAttach(WindowDisplay, &info);
            XSync(WindowDisplay, False);
            attached = WindowXError == 0;
            if (!attached) shmdt(info.shmaddr);
        }
        // Removed once attached: the segment goes when both sides detach.
        shmctl(info.shmid, IPC_RMID, nullptr);
    }
    if (attached) return true;
    image->data = nullptr;
    XDestroyImage(image);
    image = nullptr;
    info = {};
    return false;
}

// Without MIT-SHM (a remote display) a plain image in our memory.
bool CreatePlainImage(Visual* visual, int depth, XImage*& image) {
    image = XCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(ClientWidth),
                         unsigned(ClientHeight), 32, 0);
    if (!image) return false;
    image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line) * size_t(image->height), 1));
    return image->data != nullptr;
}

}  // namespace

bool CreateScreenImage(Visual* visual, int depth) {
    XGCValues values{};
    values.graphics_exposures = False;
    WindowGC = XCreateGC(WindowDisplay, GraphXWindow, GCGraphicsExposures, &values);
    ShmAttached = XShmQueryExtension(WindowDisplay) && CreateShmImage(visual, depth, Images[0], ShmInfos[0]);
    if (!ShmAttached && !CreatePlainImage(visual, depth, Images[0])) return false;
    TScreenImage s;
    // The conversion writes whole 32-bit words.
    if (Images[0]->bits_per_pixel != 32 || !ChannelShift(visual->red_mask, s.RedShift) ||
        !ChannelShift(visual->green_mask, s.GreenShift) || !ChannelShift(visual->blue_mask, s.BlueShift))
        return false;
    s.WordsPerRow = Images[0]->bytes_per_line / 4;
    s.Width = ClientWidth;
    s.Height = ClientHeight;
    // A 32-bit visual keeps alpha in the bits no colour uses: opaque.
    const unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    s.FixedBits = depth == 32 ? uint32_t(~colourBits) : 0;
    s.Direct = s.RedShift == 16 && s.GreenShift == 8 && s.BlueShift == 0 && s.FixedBits == 0;
    // The images past the first are a saving, not a need: fewer will do.
    int32_t count = 1;
    while (count < MaxScreenImages &&
           (ShmAttached ? CreateShmImage(visual, depth, Images[size_t(count)], ShmInfos[size_t(count)])
                        : CreatePlainImage(visual, depth, Images[size_t(count)])))
        ++count;
    for (int32_t i = 0; i < count; ++i) {
        ScreenImages[size_t(i)] = s;
        ScreenImages[size_t(i)].Words = reinterpret_cast<uint32_t*>(Images[size_t(i)]->data);
    }
    ScreenImageCount = count;
    return true;
}

void ReleaseScreenImage() {
    if (ShmAttached) {
        for (size_t i = 0; i < Images.size(); ++i)
            if (Images[i]) XShmDetach(WindowDisplay, &ShmInfos[i]);
        XSync(WindowDisplay, False);
    }
    for (size_t i = 0; i < Images.size(); ++i) {
        if (!Images[i]) continue;
        if (ShmAttached) {
            Images[i]->data = nullptr;  // not ours to free: the segment is detached below
            XDestroyImage(Images[i]);
            shmdt(ShmInfos[i].shmaddr);
        } else {
            XDestroyImage(Images[i]);  // frees the calloc'ed pixels too
        }
        Images[i] = nullptr;
    }
    ShmInfos = {};
    ShmAttached = false;
    ScreenImages = {};
    ScreenImageCount = 0;
    if (WindowGC) XFreeGC(WindowDisplay, WindowGC);
    WindowGC = nullptr;
}

}  // namespace XPlatform

using namespace XPlatform;

void PutScreenRect(int32_t image, const TClientRect& r) {
    XImage* const put = Images[size_t(image)];
    const unsigned w = unsigned(r.X2 - r.X1 + 1), h = unsigned(r.Y2 - r.Y1 + 1);
    if (ShmAttached)
        XShmPutImage(WindowDisplay, GraphXWindow, WindowGC, put, r.X1, r.Y1, r.X1, r.Y1, w, h, False);
    else
        XPutImage(WindowDisplay, GraphXWindow, WindowGC, put, r.X1, r.Y1, r.X1, r.Y1, w, h);
    XFlush(WindowDisplay);
}

void FinishScreenPuts() {
    XSync(WindowDisplay, False);
    PresentCount.fetch_add(1);
}
