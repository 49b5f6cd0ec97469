#include "shell/sdl/SdlEffectLoader.h"

#include <optional>

namespace quibbix {

SdlEffectLoader::~SdlEffectLoader() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    requested_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SdlEffectLoader::Load(const std::string& path, const FileIdentity& identity, std::uint64_t ticket) {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { Run(); });
    }
    const std::lock_guard lock(mutex_);
    pending_.insert_or_assign(path, Request{identity, ticket});
    requested_.notify_one();
}

void SdlEffectLoader::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        requested_.wait(lock, [this] { return ending_ || !pending_.empty(); });
        if (ending_) {
            return;
        }
        const std::string path = pending_.begin()->first;
        const Request request = pending_.begin()->second;
        pending_.erase(pending_.begin());
        lock.unlock();
        // Asked again before the first read was done: the file is read once.
        std::optional<std::shared_ptr<const SdlEffect>> effect = cache_.Find(path, request.identity);
        if (!effect) {
            effect = cache_.Load(path, request.identity);
        }
        loaded_(request.ticket, std::move(*effect));
        lock.lock();
    }
}

}  // namespace quibbix
