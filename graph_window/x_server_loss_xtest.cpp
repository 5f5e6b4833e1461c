// The X server dies under an open window: the process must end by itself,
// promptly, with status 1 and one line on stderr, whatever it was doing.
// Each case starts a private server, runs this executable again as the
// program (the ServerLossChild case) and kills the server under it.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tavrel.h"
#include "test_support/xdriver.h"

namespace {

// ---- The program side ----------------------------------------------------------

void SayReady() {
    const char* fd = std::getenv("LOSS_READY_FD");
    if (fd && write(std::atoi(fd), "r", 1) != 1) std::_Exit(3);
}

void RunState(const std::string& state) {
    int16_t driver = state == "truecolour" ? 9 : 3, mode = 6;
    OpenGraphWindow(driver, mode, "server loss");
    if (!GraphWindowIsOpen()) std::_Exit(4);
    if (state == "idle") {
        SayReady();
        for (;;) PauseMilliseconds(50);
    }
    if (state == "key") {
        SayReady();
        for (;;) WaitKeyByte();
    }
    if (state == "drawing" || state == "truecolour") {
        uint16_t page = 1;
        for (int frame = 0;; ++frame) {
            SelectDrawPage(page);
            ClearWholeWindow();
            SetAreaFill(1, NamedColors[250]);
            FillBox(int16_t(frame % 700), 100, int16_t(frame % 700 + 90), 300);
            SelectShownPage(page);
            page ^= 1;
            if (frame == 10) SayReady();
        }
    }
    if (state == "glwindow" || state == "glbitmap") {
        if (ResultCode == -9) std::_Exit(5);
        SelectGlTarget(state == "glwindow");
        for (int frame = 0;; ++frame) {
            glClearColor(float(frame % 2), 0.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SetRefreshMode(2);
            if (frame == 10) SayReady();
        }
    }
    std::_Exit(6);
}

TEST(ServerLossChild, Run) {
    const char* state = std::getenv("LOSS_STATE");
    if (!state) GTEST_SKIP() << "run by ServerLoss only";
    RunState(state);
}

// ---- The test side ------------------------------------------------------------

struct TServer {
    pid_t Pid = -1;
    std::string Display;
};

bool StartServer(TServer& server) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    server.Pid = fork();
    if (server.Pid == 0) {
        dup2(fds[1], 3);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // The server writes the number and the newline apart and ends itself
    // when the second write finds the pipe closed: read up to the newline.
    pollfd p{fds[0], POLLIN, 0};
    FILE* in = fdopen(fds[0], "r");
    char line[32] = {};
    const bool read = poll(&p, 1, SignalWaitMs) == 1 && std::fgets(line, sizeof line, in);
    std::fclose(in);
    server.Display = std::string(":") + line;
    if (!server.Display.empty() && server.Display.back() == '\n') server.Display.pop_back();
    return read && server.Display.size() > 1;
}

struct TChild {
    TChildProgram Program;
    int ReadyFd = -1;
    std::string ErrorPath;
};

bool StartChild(TChild& child, const TServer& server, const char* state) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    child.ReadyFd = fds[0];
    child.ErrorPath = std::string(::testing::TempDir()) + "server_loss_" + state + ".err";
    child.Program.Pid = fork();
    if (child.Program.Pid == 0) {
        close(fds[0]);
        setenv("DISPLAY", server.Display.c_str(), 1);
        setenv("LOSS_STATE", state, 1);
        setenv("LOSS_READY_FD", std::to_string(fds[1]).c_str(), 1);
        const int err = open(child.ErrorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, 2);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execl("/proc/self/exe", "server_loss_program", "--gtest_filter=ServerLossChild.Run",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    return child.Program.Pid > 0;
}

bool WaitReady(TChild& child) {
    pollfd p{child.ReadyFd, POLLIN, 0};
    char c = 0;
    return poll(&p, 1, SignalWaitMs) == 1 && read(child.ReadyFd, &c, 1) == 1 && c == 'r';
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void KillServerUnder(const char* state) {
    TServer server;
    ASSERT_TRUE(StartServer(server));
    TChild child;
    ASSERT_TRUE(StartChild(child, server, state));
    const bool ready = WaitReady(child);
    close(child.ReadyFd);
    int status = -1;
    if (!ready) {
        kill(child.Program.Pid, SIGKILL);
        WaitProgramExit(child.Program, SignalWaitMs, status);
        kill(server.Pid, SIGKILL);
        waitpid(server.Pid, nullptr, 0);
        if (status == 5) GTEST_SKIP() << "no OpenGL here: the window opened with -9";
        FAIL() << "the program did not reach its state; status " << status << ", stderr: " << ReadFile(child.ErrorPath);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // well inside the state
    kill(server.Pid, SIGKILL);
    waitpid(server.Pid, nullptr, 0);
    if (!WaitProgramExit(child.Program, SignalWaitMs, status)) {
        StopProgram(child.Program);
        FAIL() << "still running " << SignalWaitMs / 1000 << " s after the server died";
    }
    EXPECT_EQ(status, 1) << "(128 + the signal that ended it)";
    EXPECT_EQ(ReadFile(child.ErrorPath), "server_loss_program: the X display went away\n");
    unlink(child.ErrorPath.c_str());
}

TEST(ServerLoss, WhileIdle) { KillServerUnder("idle"); }
TEST(ServerLoss, WhileWaitingForAKey) { KillServerUnder("key"); }
TEST(ServerLoss, WhileDrawingAndFlippingPalettePages) { KillServerUnder("drawing"); }
TEST(ServerLoss, WhileDrawingAndFlippingTrueColourPages) { KillServerUnder("truecolour"); }
TEST(ServerLoss, WithTheOpenGlWindowTarget) { KillServerUnder("glwindow"); }
TEST(ServerLoss, WithTheOpenGlBitmapTarget) { KillServerUnder("glbitmap"); }

}  // namespace
