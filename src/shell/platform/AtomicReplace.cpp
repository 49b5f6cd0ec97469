#include "shell/platform/AtomicReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "shell/platform/UniqueFd.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

// The same limit the kernel puts on a path's links; past it the links go round in a loop.
constexpr int kMaxLinkHops = 40;
constexpr std::string_view kTempInfix = ".tmp.";
constexpr std::string_view kTempPattern = "XXXXXX";

// Saving goes through symbolic links, so a link a dotfile manager made stays a link. Stops at a
// loop; the stat that follows then reports it.
fs::path FinalTarget(fs::path path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            return path;
        }
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

std::string Refusal(const fs::path& path, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) {
        return path.string() + " is not a regular file";
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        return path.string() + " is read-only";
    }
    return {};
}

std::string CannotReplace(const fs::path& path, int error) {
    return path.string() + " cannot be replaced: " + std::strerror(error);
}

bool IsTempName(std::string_view name, std::string_view target) {
    if (name.size() != target.size() + kTempInfix.size() + kTempPattern.size() || !name.starts_with(target)) {
        return false;
    }
    name.remove_prefix(target.size());
    if (!name.starts_with(kTempInfix)) {
        return false;
    }
    name.remove_prefix(kTempInfix.size());
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// A save killed between making its temporary file and renaming it leaves the file behind. Only one
// copy of the game runs per user, so no save can be under way while this runs.
void RemoveStaleTemps(const fs::path& folder, const std::string& target) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (IsTempName(entry->path().filename().string(), target) && entry->is_regular_file(ignored) &&
            !entry->is_symlink(ignored)) {
            fs::remove(entry->path(), ignored);
        }
    }
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put > 0) {
            data.remove_prefix(static_cast<std::size_t>(put));
        } else if (put == 0 || errno != EINTR) {
            errno = put == 0 ? EIO : errno;
            return false;
        }
    }
    return true;
}

bool Sync(int fd) {
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// Gives the new file the old one's permission bits, and its owner and group where this user may:
// only root can give a file away, and anyone else keeps their own group as a fallback.
bool TakeIdentity(int fd, const struct stat& old) {
    [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Writes the temporary file whole and durable; returns 0, or the error of the step that failed.
int Fill(UniqueFd& fd, const struct stat* old, std::string_view text) {
    if ((old && !TakeIdentity(fd.get(), *old)) || !WriteAll(fd.get(), text) || !Sync(fd.get())) {
        return errno;
    }
    return fd.Close() ? 0 : errno;
}

}  // namespace

std::string WhyLeftAsItIs(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? Refusal(path, info) : std::string();
}

void MakePrivateFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        // An existing folder is left as the player made it; a failure shows at the first use.
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            return;
        }
    }
}

std::string ReplaceAtomically(const fs::path& path, std::string_view text) {
    const fs::path target = FinalTarget(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) {
        return CannotReplace(path, errno);
    }
    if (existed) {
        if (std::string refusal = Refusal(path, old); !refusal.empty()) {
            return refusal;
        }
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    MakePrivateFolders(folder);
    const std::string name = target.filename().string();
    RemoveStaleTemps(folder, name);

    // mkostemp opens with O_EXCL and mode 0600: an existing file or link is never followed.
    std::string temp = (folder / name).string().append(kTempInfix).append(kTempPattern);
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) {
        return CannotReplace(path, errno);
    }
    int error = Fill(fd, existed ? &old : nullptr, text);
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return CannotReplace(path, error);
    }
    // Without this the rename itself may not survive a power cut.
    if (const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) {
        Sync(dir.get());
    }
    return {};
}

}  // namespace quibbix
