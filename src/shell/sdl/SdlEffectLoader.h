#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SdlEffectCache.h"
#include "shell/sdl/SoundFile.h"

namespace quibbix {

// Reads and decodes effect files on a thread of its own: a file of 16 MiB takes some 50 ms, which
// no tick may wait for. The thread sleeps until asked, and is only started when first needed.
class SdlEffectLoader {
public:
    // Told on the loader's thread what the file requested with TICKET holds (null: no sound).
    using Loaded = std::function<void(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect)>;

    SdlEffectLoader(SdlEffectCache& cache, Loaded loaded) : cache_(cache), loaded_(std::move(loaded)) {}
    SdlEffectLoader(const SdlEffectLoader&) = delete;
    SdlEffectLoader& operator=(const SdlEffectLoader&) = delete;
    ~SdlEffectLoader();

    // Only the latest request for a path is kept: a file rewritten faster than it can be read
    // costs one read at a time.
    void Load(const std::string& path, const FileIdentity& identity, std::uint64_t ticket);

private:
    struct Request {
        FileIdentity identity;
        std::uint64_t ticket;
    };

    void Run();

    SdlEffectCache& cache_;
    Loaded loaded_;
    std::mutex mutex_;
    std::condition_variable requested_;
    std::map<std::string, Request> pending_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace quibbix
