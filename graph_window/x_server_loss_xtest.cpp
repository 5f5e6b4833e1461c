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
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tavrel.h"
#include "test_support/xdriver.h"

namespace {

using Clock = std::chrono::steady_clock;

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
    server.Display = ":";
    const auto deadline = Clock::now() + std::chrono::milliseconds(SignalWaitMs);
    char c = 0;
    pollfd p{fds[0], POLLIN, 0};
    while (Clock::now() < deadline && poll(&p, 1, 100) >= 0) {
        if (!(p.revents & (POLLIN | POLLHUP))) continue;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        server.Display += c;
    }
    close(fds[0]);
    return c == '\n' && server.Display.size() > 1;
}

struct TChild {
    pid_t Pid = -1;
    int ReadyFd = -1;
    std::string ErrorPath;
};

bool StartChild(TChild& child, const TServer& server, const char* state) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    child.ReadyFd = fds[0];
    child.ErrorPath = std::string(::testing::TempDir()) + "server_loss_" + state + ".err";
    child.Pid = fork();
    if (child.Pid == 0) {
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
    return child.Pid > 0;
}

bool WaitReady(TChild& child) {
    pollfd p{child.ReadyFd, POLLIN, 0};
    char c = 0;
    return poll(&p, 1, SignalWaitMs) == 1 && read(child.ReadyFd, &c, 1) == 1 && c == 'r';
}

// The child's wait status, or -1 when it still runs after timeoutMs.
int WaitChild(pid_t pid, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        if (Clock::now() > deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
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
    if (!ready) {
        kill(child.Pid, SIGKILL);
        const int status = WaitChild(child.Pid, SignalWaitMs);
        kill(server.Pid, SIGKILL);
        waitpid(server.Pid, nullptr, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 5) {
            GTEST_SKIP() << "no OpenGL here: the window opened with -9";
        }
        FAIL() << "the program did not reach its state; wait status " << status
               << ", stderr: " << ReadFile(child.ErrorPath);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // well inside the state
    kill(server.Pid, SIGKILL);
    waitpid(server.Pid, nullptr, 0);
    const int status = WaitChild(child.Pid, SignalWaitMs);
    if (status == -1) {
        kill(child.Pid, SIGKILL);
        waitpid(child.Pid, nullptr, 0);
        FAIL() << "still running " << SignalWaitMs / 1000 << " s after the server died";
    }
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
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
