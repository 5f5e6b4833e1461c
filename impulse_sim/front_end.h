// The front end that impulse_sim and impulse_sim_basic share: scene and frame
// loops, keys, mouse dragging and the status line. The two programs differ
// only in the settings of a TFrontEndStyle.
#pragma once

#include <array>
#include <cstdint>

#include "huge_real.h"
#include "key_codes.h"

constexpr const char* SimulatorCaption = "SIMULATOR DE FIZICA";

struct TFrontEndStyle {
    const char* ProgramName;  // names the program in its error message
    bool MouseDragging;
    // Clearing the page after the step erases the contact points the step
    // drew, so that they never show.
    bool ClearAfterStep;
    uint16_t PauseMs;
    THugeReal Huge;  // the simulation's infinity
};

constexpr TFrontEndStyle FullStyle{"impulse_sim", true, false, 10, FullHugeReal};
constexpr TFrontEndStyle BasicStyle{"impulse_sim_basic", false, true, 5, BasicHugeReal};

constexpr int32_t DefaultIterations = 10;
constexpr int32_t MinIterations = 1;
constexpr int32_t MaxIterations = 50;

extern int32_t SceneNumber;  // 1..SceneCount
extern int16_t FramePage;    // the page drawn this frame is 1 - the one shown

// Scene start: a fresh world of SceneNumber with the random source seeded
// from seed, and the default view, iterations and solver switches.
void BeginScene(uint32_t seed);
// The 'r' key: the same scene again with the current settings.
void RestartScene();
// Acts on the key of a frame (0: none).
void DispatchKey(uint8_t key);
// Esc, Enter, F1 and Backspace end the frame loop after their frame.
bool EndsFrameLoop(uint8_t key);
// The scene Enter (next), Backspace (previous) or F1 (the same) starts.
int32_t SceneAfterKey(int32_t scene, uint8_t key);
// Moves the body whose centre is nearest the window pixel (x, y) there.
void DragNearestBody(int32_t x, int32_t y);

using TStatusText = std::array<char, 256>;
void FormatStatusLine(TStatusText& text);
void DrawStatusLine();

// Steps, clearing, drawing, mouse, key and status line of one frame (all but
// the pause); returns the key of the frame, 0 when none.
uint8_t RunFrame(const TFrontEndStyle& style);
// The program: window, scenes, frames; the exit status.
int RunSimulator(const TFrontEndStyle& style);
