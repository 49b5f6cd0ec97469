#include "shell/session/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

namespace quibbix {

namespace {

// A socket path must fit in sockaddr_un; a folder too deep for it gets no socket, only the lock.
std::optional<sockaddr_un> SocketAddress(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

UniqueFd Listen(const sockaddr_un& address) {
    // Left over by a copy that crashed: the lock is ours, so nobody listens on it any more.
    ::unlink(address.sun_path);
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket || ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket.get(), 4) != 0) {
        return UniqueFd();
    }
    return socket;
}

// The knock carries the launcher's activation token, when this copy was given one: the desktop
// lets the first copy come to the front with it.
bool Knock(const sockaddr_un& address) {
    const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket ||
        ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return false;
    }
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    token = token != nullptr ? token : std::getenv("DESKTOP_STARTUP_ID");
    if (token != nullptr) {
        ::send(socket.get(), token, std::strlen(token), MSG_NOSIGNAL);
    }
    return true;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& folder, std::string_view name) {
    if (folder.empty()) {
        // No folder of this user's to meet in: every copy runs.
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path base = folder / name;
    lock_ = UniqueFd(::open((base.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock_) {
        // Nothing to guard with: running beats refusing to start.
        return;
    }
    const std::optional<sockaddr_un> address = SocketAddress(base.string() + ".sock");
    if (::flock(lock_.get(), LOCK_EX | LOCK_NB) == 0) {
        if (address) {
            listener_ = Listen(*address);
            if (listener_) {
                socket_ = address->sun_path;
            }
        }
        return;
    }
    first_ = false;
    lock_.Close();
    if (!address) {
        return;
    }
    // The first copy takes the lock a moment before it listens: a knock that comes too early is
    // tried again for a short while.
    for (int attempt = 0; attempt < 20 && !knocked_; ++attempt) {
        knocked_ = Knock(*address);
        if (!knocked_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}

SingleInstance::~SingleInstance() {
    if (!socket_.empty()) {
        ::unlink(socket_.c_str());
    }
}

std::filesystem::path SingleInstance::Folder(const char* runtimeDir, const std::filesystem::path& fallback) {
    if (runtimeDir != nullptr && std::filesystem::path(runtimeDir).is_absolute()) {
        return runtimeDir;
    }
    return fallback;
}

}  // namespace quibbix
