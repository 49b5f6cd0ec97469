#include "shell/session/SessionWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "shell/session/Knock.h"

namespace quibbix {

namespace {

constexpr std::chrono::milliseconds kCallerPatience{250};

sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

void BlockEndingSignals() {
    const sigset_t set = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    // A write to a socket or pipe whose reader went away (the audio server's, a knock's) is a
    // failed write, never the end of the game unsaved; so is a stray `kill -PIPE`.
    std::signal(SIGPIPE, SIG_IGN);
}

SessionWatcher::SessionWatcher(UniqueFd listener, Callbacks callbacks)
    : listener_(std::move(listener)), callbacks_(std::move(callbacks)) {
    const sigset_t set = EndingSignals();
    signals_ = UniqueFd(signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    stop_ = UniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    // A thread that could not be told to stop could not be joined either: better none at all.
    if (stop_) {
        thread_ = std::thread(&SessionWatcher::Watch, this);
    }
}

SessionWatcher::~SessionWatcher() {
    if (!thread_.joinable()) {
        return;
    }
    const std::uint64_t one = 1;
    while (::write(stop_.get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
}

void SessionWatcher::Watch() {
    // An entry with a negative descriptor is skipped by poll, so a missing part costs nothing.
    std::array<pollfd, 3> watched{{
        {stop_.get(), POLLIN, 0},
        {signals_.get(), POLLIN, 0},
        {listener_.get(), POLLIN, 0},
    }};
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (watched[0].revents != 0) {
            return;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            signalfd_siginfo info{};
            while (::read(signals_.get(), &info, sizeof info) == sizeof info) {
                if (callbacks_.ended) {
                    callbacks_.ended(static_cast<int>(info.ssi_signo));
                }
            }
        }
        if ((watched[2].revents & POLLIN) != 0 && !Accept()) {
            // The socket is broken for good; the lock still keeps other copies out.
            watched[2].fd = -1;
        }
    }
}

// The caller wants the running game in front. False when the socket no longer accepts anyone.
bool SessionWatcher::Accept() {
    for (;;) {
        const UniqueFd caller(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!caller) {
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED;
        }
        // A caller that says nothing holds the signals up for a moment at most.
        const std::optional<std::string> note = HearKnock(caller, kCallerPatience);
        if (note && callbacks_.summoned) {
            callbacks_.summoned(*note);
        }
    }
}

}  // namespace quibbix
