#include "shell/session/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string>

#include "shell/platform/AtomicReplace.h"
#include "shell/session/Knock.h"

namespace quibbix {

namespace {

// Unique to the lock file, however its folder is spelled: `HOME=/home/ann` and `HOME=/home/ann/`
// or a link to it reach the same inode.
std::string SocketName(const struct stat& lock) {
    return "quibbix-" + std::to_string(::geteuid()) + "-" + std::to_string(lock.st_dev) + "-" +
           std::to_string(lock.st_ino);
}

std::string CannotLock(const std::filesystem::path& lock, const char* why) {
    return "cannot take the lock " + lock.string() + ": " + why;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& settingsFile) {
    if (settingsFile.empty()) {
        return;
    }
    const std::filesystem::path folder = settingsFile.parent_path();
    MakePrivateFolders(folder);
    const std::filesystem::path path = folder / "quibbix.lock";
    // Never through a link, and never waiting on a FIFO planted there.
    lock_ = UniqueFd(
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600));
    struct stat status {};
    if (!lock_ || ::fstat(lock_.get(), &status) != 0) {
        claim_ = Claim::kUnlocked;
        trouble_ = CannotLock(path, std::strerror(errno));
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        claim_ = Claim::kUnlocked;
        trouble_ = CannotLock(path, "not a regular file");
        return;
    }
    socketName_ = SocketName(status);
    if (::flock(lock_.get(), LOCK_EX | LOCK_NB) != 0) {
        claim_ = errno == EWOULDBLOCK ? Claim::kSecond : Claim::kUnlocked;
        trouble_ = CannotLock(path, std::strerror(errno));
        return;
    }
    // For a later copy's message when this one stops answering.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(lock_.get(), 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(lock_.get(), pid.data(), pid.size(), 0);
    }
    listener_ = ListenForKnocks(socketName_);
}

bool SingleInstance::Knock(std::string_view note, std::chrono::milliseconds patience) const {
    return claim_ == Claim::kSecond &&
           KnockOn(socketName_, note, std::chrono::steady_clock::now() + patience);
}

long SingleInstance::FirstProcess() const {
    char text[32] = {};
    const ssize_t got = lock_ ? ::pread(lock_.get(), text, sizeof text - 1, 0) : -1;
    long pid = 0;
    if (got > 0) {
        std::from_chars(text, text + got, pid);
    }
    return pid;
}

}  // namespace quibbix
