#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "shell/sdl/FileIdentity.h"
#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SoundFile.h"

namespace quibbix {

// The effects decoded so far, by path, each with the identity of the file it came from: the copy
// serves for as long as the file keeps that identity, so an effect played fifty times a second is
// read once, and a file changed while the game runs is read again. All the copies together stay
// within one effect's budget, kMaxEffectBytes: three huge files take no more memory than one, they
// are only read again more often. Safe on any thread.
class SdlEffectCache {
public:
    // What the file with this identity holds, if it was read: an effect, or null when it holds no
    // sound SDL can play.
    std::optional<std::shared_ptr<const SdlEffect>> Find(const std::string& path,
                                                         const FileIdentity& identity) const;
    // Reads and decodes the file and remembers what it holds; null when there is no sound in it.
    // Slow for a large file: some 50 ms for 16 MiB.
    std::shared_ptr<const SdlEffect> Load(const std::string& path, const FileIdentity& identity);
    void Forget(const std::string& path);

private:
    // Forgets every copy when they and what a file of `fileBytes` may decode to would not fit the
    // budget together.
    void MakeRoom(std::size_t fileBytes);

    struct Entry {
        FileIdentity identity;
        std::shared_ptr<const SdlEffect> effect;
    };

    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

}  // namespace quibbix
