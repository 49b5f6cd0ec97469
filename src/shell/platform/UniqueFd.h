#pragma once
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quibbix {

// Owns one open file descriptor and closes it when it goes; -1 owns nothing.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~UniqueFd() { Close(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now, for a caller that must know whether the data reached the file; Linux closes the
    // descriptor even when close is interrupted, so EINTR counts as closed.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0 || errno == EINTR;
    }

private:
    int fd_;
};

}  // namespace quibbix
