#include "shell/sdl/SdlDeviceKeeper.h"

#include <memory>

#include "shell/sdl/SdlAudioDevice.h"

namespace quibbix {

SdlDeviceKeeper::~SdlDeviceKeeper() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SdlDeviceKeeper::Hold(bool held) {
    StartThread();
    const std::lock_guard lock(mutex_);
    held_ = held;
    dirty_ = true;
    changed_.notify_one();
}

void SdlDeviceKeeper::Wake() {
    StartThread();
    const std::lock_guard lock(mutex_);
    dirty_ = true;
    changed_.notify_one();
}

void SdlDeviceKeeper::Retry() {
    const std::lock_guard lock(mutex_);
    failed_ = false;
    dirty_ = true;
    changed_.notify_one();
}

void SdlDeviceKeeper::StartThread() {
    std::call_once(started_, [this] { thread_ = std::thread([this] { Run(); }); });
}

void SdlDeviceKeeper::Run() {
    std::unique_ptr<SdlAudioDevice> device;
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return dirty_ || ending_; });
        if (ending_) {
            break;
        }
        dirty_ = false;
        const bool held = held_;
        const bool failed = failed_;
        // Opening and closing happen unlocked, so the voice can report meanwhile.
        lock.unlock();
        const bool wanted = !failed && (held || voice_.Sounding());
        if (wanted && !device) {
            device = SdlAudioDevice::Open(voice_);
        } else if (!wanted && device) {
            device.reset();
        }
        // An effect with no device to play on is dropped rather than kept for later.
        const bool deviceless = !device && (failed || wanted);
        if (deviceless) {
            voice_.Stop();
        }
        lock.lock();
        failed_ = failed_ || (wanted && !device);
    }
    lock.unlock();
    device.reset();
}

}  // namespace quibbix
