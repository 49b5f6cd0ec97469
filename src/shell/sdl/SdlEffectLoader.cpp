#include "shell/sdl/SdlEffectLoader.h"

#include <optional>

namespace quibbix {

void SdlEffectLoader::Load(const std::string& path, const FileIdentity& identity, std::uint64_t ticket) {
    thread_.Post([&] { pending_.insert_or_assign(path, Request{identity, ticket}); });
}

void SdlEffectLoader::LoadNext(WorkerThread::Lock& lock) {
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

}  // namespace quibbix
