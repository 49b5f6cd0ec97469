#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SdlEffectCache.h"
#include "shell/sdl/SoundFile.h"
#include "shell/sdl/WorkerThread.h"

namespace quibbix {

// Reads and decodes effect files on a thread of its own: a file of 16 MiB takes some 50 ms, which
// no tick may wait for. The thread sleeps until asked, and is only started when first needed.
class SdlEffectLoader {
public:
    // Told on the loader's thread what the file requested with TICKET holds (null: no sound).
    using Loaded = std::function<void(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect)>;

    SdlEffectLoader(SdlEffectCache& cache, Loaded loaded) : cache_(cache), loaded_(std::move(loaded)) {}

    // Only the latest request for a path is kept: a file rewritten faster than it can be read
    // costs one read at a time.
    void Load(const std::string& path, const FileIdentity& identity, std::uint64_t ticket);

private:
    struct Request {
        FileIdentity identity;
        std::uint64_t ticket;
    };

    // Reads the first file asked for, on the thread.
    void LoadNext(WorkerThread::Lock& lock);

    SdlEffectCache& cache_;
    Loaded loaded_;
    std::map<std::string, Request> pending_;  // guarded by the thread's lock
    // Last, so that it ends before what it uses goes.
    WorkerThread thread_{[this] { return !pending_.empty(); },
                         [this](WorkerThread::Lock& lock) { LoadNext(lock); }};
};

}  // namespace quibbix
