// Scratch directories for tests whose death-test child runs the test again
// from the start: the child must not make (and leave behind) one of its own,
// so the parent passes its directory on in the environment.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// The directory named by the environment variable, made when there is none
// yet; empty when it cannot be made.
inline std::string SharedScratchDir(const char* variable) {
    if (const char* made = std::getenv(variable)) return made;
    char dir[] = "/tmp/tavrel_test_XXXXXX";
    if (!mkdtemp(dir)) return "";
    setenv(variable, dir, 1);
    return dir;
}

// Removes the directory with everything in it and forgets the variable.
inline void RemoveScratchDir(const char* variable, const std::string& dir) {
    std::filesystem::remove_all(dir);
    unsetenv(variable);
}
