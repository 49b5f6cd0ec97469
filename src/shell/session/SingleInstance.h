#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "shell/platform/UniqueFd.h"

namespace quibbix {

// Makes sure only one copy of the game writes a settings file at a time. The lock is
// `quibbix.lock` beside the settings file, so every copy that would write that file takes the same
// lock, however it was started. The first copy writes its process ID into the lock and listens on
// an abstract socket named after the lock's device and inode (see Knock.h); a later copy finds the
// lock taken, knocks so the first copy comes to the front, and steps back. The lock goes with the
// process, so a copy that crashed leaves nothing in the way.
class SingleInstance {
public:
    enum class Claim {
        kFirst,     // this copy holds the lock: it runs the game
        kSecond,    // another copy holds it: knock and step back
        kUnlocked,  // the lock could not be taken at all: run, but never write the settings
    };

    // Takes the lock beside `settingsFile`, making its folder (0700) when missing. An empty path
    // (no home folder) needs no lock: nothing will be written.
    explicit SingleInstance(const std::filesystem::path& settingsFile);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Claim Result() const { return claim_; }
    // kUnlocked: why, as a sentence naming the lock.
    const std::string& Trouble() const { return trouble_; }
    // kFirst: the listening socket, for the session watcher; empty when it could not be made (the
    // lock still keeps a second copy out).
    UniqueFd TakeListener() { return std::move(listener_); }

    // kSecond: asks the first copy to come to the front, handing it `note` (one short line), and
    // waits at most `patience` for its answer, connecting included. False when it did not answer.
    bool Knock(std::string_view note, std::chrono::milliseconds patience) const;
    // kSecond: the first copy's process ID as it wrote it into the lock; 0 when unknown.
    long FirstProcess() const;

private:
    Claim claim_ = Claim::kFirst;
    std::string trouble_;
    std::string socketName_;
    UniqueFd lock_;
    UniqueFd listener_;
};

}  // namespace quibbix
