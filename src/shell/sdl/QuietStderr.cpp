#include "shell/sdl/QuietStderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace quibbix {

namespace {

int SetAside() {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    if (saved < 0) {
        return -1;
    }
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) {
        close(saved);
        return -1;
    }
    dup2(null, STDERR_FILENO);
    close(null);
    return saved;
}

}  // namespace

QuietStderr::QuietStderr() : saved_(SetAside()) {}

QuietStderr::~QuietStderr() {
    if (saved_ < 0) {
        return;
    }
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
}

}  // namespace quibbix
