#include "shell/platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "shell/platform/UniqueFd.h"

namespace quibbix {
namespace {

std::string CannotRead(const std::filesystem::path& path, int error) {
    return path.string() + " cannot be read: " + std::strerror(error);
}

std::string TooLarge(const std::filesystem::path& path, std::size_t maxBytes) {
    return path.string() + " is larger than " + std::to_string(maxBytes >> 20) + " MiB";
}

std::string Refuse(const std::filesystem::path& path, const struct stat& info, std::size_t maxBytes) {
    if (!S_ISREG(info.st_mode)) {
        return path.string() + " is not a regular file";
    }
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > maxBytes) {
        return TooLarge(path, maxBytes);
    }
    return {};
}

}  // namespace

WholeFile ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // O_NONBLOCK: a FIFO in the file's place opens at once instead of waiting for a writer.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        return {{}, errno == ENOENT ? std::string() : CannotRead(path, errno)};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return {{}, CannotRead(path, errno)};
    }
    if (std::string refusal = Refuse(path, info, maxBytes); !refusal.empty()) {
        return {{}, std::move(refusal)};
    }
    // Read to the end rather than to the size seen: a file still growing must not be cut short.
    WholeFile file;
    file.text.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == file.text.size()) {
            if (filled > maxBytes) {
                return {{}, TooLarge(path, maxBytes)};
            }
            file.text.resize(std::min(filled * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(fd.get(), file.text.data() + filled, file.text.size() - filled);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            return {{}, CannotRead(path, errno)};
        }
    }
    file.text.resize(filled);
    return file;
}

}  // namespace quibbix
