#include "shell/session/Knock.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <thread>

namespace quibbix {

namespace {

using Clock = std::chrono::steady_clock;

// A connect that finds nobody listening yet (the first copy takes the lock a moment before it
// listens) or the queue full is tried again this often.
constexpr auto kRetry = std::chrono::milliseconds(50);

struct Address {
    sockaddr_un socket{};
    socklen_t length = 0;
};

Address Abstract(const std::string& name) {
    Address address;
    address.socket.sun_family = AF_UNIX;
    // A leading NUL makes the name abstract; the rest need not be NUL-terminated.
    const std::size_t size = std::min(name.size(), sizeof address.socket.sun_path - 1);
    std::memcpy(address.socket.sun_path + 1, name.data(), size);
    address.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return address;
}

bool SameUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

// Waits for something to read until the deadline.
bool Readable(int socket, Clock::time_point deadline) {
    for (;;) {
        pollfd watched{socket, POLLIN, 0};
        const int ready = ::poll(&watched, 1, MillisecondsUntil(deadline));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

// Never raises SIGPIPE: a caller or a listener that went away is only a failed send.
bool SendAll(int socket, std::string_view text) {
    return ::send(socket, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

std::string OneLine(std::string_view note) {
    std::string line;
    for (const char c : note.substr(0, kMaxKnockNote)) {
        if (c != '\n' && c != '\r' && c != '\0') {
            line += c;
        }
    }
    return line + '\n';
}

bool Converse(int socket, std::string_view note, Clock::time_point deadline) {
    char answer[4];
    return SameUser(socket) && SendAll(socket, OneLine(note)) && Readable(socket, deadline) &&
           ::recv(socket, answer, sizeof answer, 0) > 0;
}

}  // namespace

UniqueFd ListenForKnocks(const std::string& name) {
    const Address address = Abstract(name);
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket ||
        ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address.socket), address.length) != 0 ||
        ::listen(socket.get(), 16) != 0) {
        return UniqueFd();
    }
    return socket;
}

bool KnockOn(const std::string& name, std::string_view note, Clock::time_point deadline) {
    const Address address = Abstract(name);
    for (;;) {
        const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!socket) {
            return false;
        }
        if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address.socket), address.length) ==
            0) {
            return Converse(socket.get(), note, deadline);
        }
        if (errno != ECONNREFUSED && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (Clock::now() + kRetry >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kRetry);
    }
}

std::optional<std::string> HearKnock(const UniqueFd& caller, std::chrono::milliseconds patience) {
    if (!SameUser(caller.get())) {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + patience;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        char piece[kMaxKnockNote + 1];
        const ssize_t got =
            Readable(caller.get(), deadline) ? ::recv(caller.get(), piece, sizeof piece, 0) : -1;
        if (got <= 0 || line.size() + static_cast<std::size_t>(got) > kMaxKnockNote + 1) {
            return std::nullopt;
        }
        line.append(piece, static_cast<std::size_t>(got));
    }
    line.erase(line.find('\n'));
    SendAll(caller.get(), "ok\n");
    return line;
}

}  // namespace quibbix
