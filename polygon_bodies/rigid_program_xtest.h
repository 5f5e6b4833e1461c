// What the end-to-end tests of box_scenarios and polygon_drag share: the
// program started by caption and ended by Esc.
#pragma once

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "test_support/program_test.h"

inline void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class RigidProgramTest : public ::testing::Test {
protected:
    TProgramRun Run;

    void StartProgram(const char* caption, const std::vector<std::string>& env = {}) {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, caption, why, env)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }

    void EndWithEsc() {
        std::string why;
        EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
    }
};
