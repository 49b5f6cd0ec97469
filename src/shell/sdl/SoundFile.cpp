#include "shell/sdl/SoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shell/sdl/FileIdentity.h"

namespace quibbix {

namespace {

std::optional<FileIdentity> IdentityOf(const struct stat& status) {
    if (!S_ISREG(status.st_mode) || status.st_size < 0 || status.st_size > kMaxSoundFileBytes) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                        static_cast<std::int64_t>(status.st_size), status.st_mtim.tv_sec,
                        status.st_mtim.tv_nsec};
}

// Closes the descriptor however the read ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::optional<FileIdentity> LookAtSoundFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return IdentityOf(status);
}

std::optional<std::vector<std::uint8_t>> ReadSoundFile(const std::string& path,
                                                       const FileIdentity& expected) {
    const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || fstat(file.Get(), &status) != 0 || IdentityOf(status) != expected) {
        return std::nullopt;
    }
    // One byte more than the file should hold tells a file that grew since the look.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(expected.size) + 1);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(file.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled != static_cast<std::size_t>(expected.size)) {
        return std::nullopt;
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace quibbix
