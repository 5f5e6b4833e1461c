#include "graph_unit.h"

std::atomic<int16_t> ResultCode{0};
std::array<uint32_t, 256> NamedColors{};

namespace TavrelInternal {
std::atomic<bool> WindowReady{false};
int16_t GraphDriver = 0, GraphMode = 0;
int32_t ScreenWidth = 0, ScreenHeight = 0;
uint8_t ScreenBitsPerPixel = 0;
int32_t WindowOuterWidth = 0, WindowOuterHeight = 0;
bool WindowFramed = true;
uint8_t BitsPerPixel = 8;
bool PaletteMode = false;
uint16_t DeviceColorCount = 0;
int32_t ClientMaxX = 0, ClientMaxY = 0;

std::array<TPage, PageCount> Pages;
int32_t PageWidth = 0, PageHeight = 0;
int32_t PageBytesPerPixel = 1;
std::array<uint32_t, 256> PageColorTable{};
std::atomic<uint16_t> DrawPage{0}, ShownPage{0};
std::atomic<bool> RefreshMode{false}, DirectDraw{false};

std::recursive_mutex DrawLock;
std::mutex PresentLock;
std::atomic<int16_t> PresentingPage{NoPresentingPage};
uint16_t ActivePaletteSize = 0;

TMessageHook KeyboardHook = nullptr, MouseHook = nullptr;
}  // namespace TavrelInternal
