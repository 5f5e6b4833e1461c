// gtest goes before the X headers, whose macros (None, Bool) clash with it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstring>

#include "platform/x11_keys.h"

namespace {

TEST(KeySymTable, KeysNameTheirVirtualKeys) {
    const struct {
        KeySym Sym;
        int32_t Vk;
    } rows[] = {
        {XK_Up, 38},        {XK_Down, 40},        {XK_Left, 37},       {XK_Right, 39},
        {XK_KP_Up, 38},     {XK_KP_Left, 37},     {XK_Home, 36},       {XK_KP_Home, 36},
        {XK_End, 35},       {XK_KP_End, 35},      {XK_Prior, 33},      {XK_Next, 34},
        {XK_KP_Prior, 33},  {XK_KP_Next, 34},     {XK_Insert, 45},     {XK_KP_Insert, 45},
        {XK_Delete, 46},    {XK_KP_Delete, 46},   {XK_Clear, 12},      {XK_KP_Begin, 12},
        {XK_F1, 112},       {XK_F4, 115},         {XK_F10, 121},       {XK_F12, 123},
        {XK_F24, 135},      {XK_a, 65},           {XK_z, 90},          {XK_A, 65},
        {XK_Z, 90},         {XK_0, 48},           {XK_9, 57},          {XK_Escape, 27},
        {XK_Return, 13},    {XK_KP_Enter, 13},    {XK_BackSpace, 8},   {XK_Tab, 9},
        {XK_ISO_Left_Tab, 9}, {XK_Pause, 19},     {XK_space, 32},      {XK_Menu, 93},
        {XK_KP_Multiply, 106}, {XK_KP_Add, 107},  {XK_KP_Subtract, 109}, {XK_KP_Decimal, 110},
        {XK_KP_Divide, 111}, {XK_KP_0, 96},       {XK_KP_9, 105},      {XK_Shift_L, 16},
        {XK_Shift_R, 16},   {XK_Control_L, 17},   {XK_Control_R, 17},  {XK_Alt_L, 18},
        {XK_Alt_R, 18},     {XK_exclam, 0},       {XK_adiaeresis, 0},  {NoSymbol, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(VirtualKeyOfKeySym(row.Sym), row.Vk) << std::hex << row.Sym;
}

int Char(KeySym sym, const char* text) {
    return CharacterOfKey(sym, text, static_cast<int>(std::strlen(text)), false);
}

TEST(KeyCharacters, AsTheWindowSystemTypesThem) {
    EXPECT_EQ(Char(XK_a, "a"), 'a');
    EXPECT_EQ(Char(XK_A, "A"), 'A');
    EXPECT_EQ(Char(XK_eacute, "\xE9"), 0xE9);  // Latin-1 is the code page's lower half
    EXPECT_EQ(Char(XK_Return, "\r"), 13);
    EXPECT_EQ(Char(XK_KP_Enter, "\r"), 13);
    EXPECT_EQ(Char(XK_Escape, "\x1B"), 27);
    EXPECT_EQ(Char(XK_BackSpace, "\b"), 8);
    EXPECT_EQ(Char(XK_Tab, "\t"), 9);
    EXPECT_EQ(CharacterOfKey(XK_ISO_Left_Tab, "", 0, false), 9);
    EXPECT_EQ(Char(XK_KP_Multiply, "*"), '*');
    EXPECT_EQ(Char(XK_KP_7, "7"), '7');
    EXPECT_EQ(CharacterOfKey(XK_EuroSign, "", 0, false), 0x80);
    // Keys that type nothing although X gives them a byte, and keys without one.
    EXPECT_EQ(Char(XK_Delete, "\x7F"), -1);
    EXPECT_EQ(Char(XK_Clear, "\x0B"), -1);
    EXPECT_EQ(CharacterOfKey(XK_F1, "", 0, false), -1);
    EXPECT_EQ(CharacterOfKey(XK_Up, "", 0, false), -1);
}

TEST(KeyCharacters, WithCtrl) {
    EXPECT_EQ(CharacterOfKey(XK_a, "\x01", 1, true), 1);
    EXPECT_EQ(CharacterOfKey(XK_Z, "\x1A", 1, true), 26);
    EXPECT_EQ(CharacterOfKey(XK_at, "\0", 1, true), 0);  // a character message carrying 0
    EXPECT_EQ(CharacterOfKey(XK_bracketleft, "\x1B", 1, true), 27);
    EXPECT_EQ(CharacterOfKey(XK_Escape, "\x1B", 1, true), 27);
    EXPECT_EQ(CharacterOfKey(XK_Return, "\r", 1, true), 10);
    EXPECT_EQ(CharacterOfKey(XK_BackSpace, "\b", 1, true), 127);
    // Ctrl+Tab is the lone byte 30 of the key translation; digits type nothing.
    EXPECT_EQ(CharacterOfKey(XK_Tab, "\t", 1, true), -1);
    EXPECT_EQ(CharacterOfKey(XK_5, "\x1D", 1, true), -1);
    EXPECT_EQ(CharacterOfKey(XK_KP_Add, "+", 1, true), -1);
}

}  // namespace
