#pragma once
#include <filesystem>
#include <string_view>

#include "shell/platform/UniqueFd.h"

namespace quibbix {

// Makes sure only one copy of the game runs for a user, so two copies never write the same table.
// The first copy holds a lock on `<name>.lock` for as long as it lives and listens on
// `<name>.sock`; a later copy finds the lock taken, knocks on the socket so the first copy comes
// to the front, and steps back. A copy that crashed leaves its socket behind but not its lock, so
// the next copy takes over.
class SingleInstance {
public:
    // Claims `folder` (made when missing) for this process.
    SingleInstance(const std::filesystem::path& folder, std::string_view name);
    // The first copy takes its socket away; the lock goes with the process.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other copy holds the lock: this one runs the game.
    bool First() const { return first_; }
    // The first copy's listening socket, for the session watcher; empty for a later copy or when
    // the socket could not be made (the lock still keeps a second copy out).
    UniqueFd TakeListener() { return std::move(listener_); }
    // A later copy: whether the first copy was told to come to the front.
    bool Knocked() const { return knocked_; }

    // Where the lock and the socket live: $XDG_RUNTIME_DIR when it is an absolute path, else
    // `fallback` (the settings folder).
    static std::filesystem::path Folder(const char* runtimeDir, const std::filesystem::path& fallback);

private:
    bool first_ = true;
    bool knocked_ = false;
    std::filesystem::path socket_;  // the socket this copy listens on
    UniqueFd lock_;
    UniqueFd listener_;
};

}  // namespace quibbix
