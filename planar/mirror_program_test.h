// What the end-to-end tests of the mirror programs and the rack share:
// starting the program, a click it can see, and its end with status 0.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "test_support/program_test.h"

class MirrorProgramTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void Start(const char* caption, const std::vector<std::string>& env = {}) {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, caption, why, env)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }
    void ExpectEndsWithZero() {
        int status = -1;
        ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status)) << "still running long after";
        EXPECT_EQ(status, 0);
    }
};
