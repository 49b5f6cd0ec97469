#include "shell/sdl/SdlDeviceKeeper.h"

namespace quibbix {

void SdlDeviceKeeper::Hold(bool held) {
    thread_.Post([this, held] {
        held_ = held;
        dirty_ = true;
    });
}

void SdlDeviceKeeper::Wake() {
    thread_.Post([this] { dirty_ = true; });
}

void SdlDeviceKeeper::Retry() {
    thread_.Set([this] {
        failed_ = false;
        dirty_ = true;
    });
}

void SdlDeviceKeeper::Update(WorkerThread::Lock& lock) {
    dirty_ = false;
    const bool held = held_;
    const bool failed = failed_;
    // Opening and closing happen unlocked, so the voice can report meanwhile.
    lock.unlock();
    const bool wanted = !failed && (held || voice_.Sounding());
    if (wanted && !device_) {
        device_ = SdlAudioDevice::Open(voice_);
    } else if (!wanted && device_) {
        device_.reset();
    }
    // An effect with no device to play on is dropped rather than kept for later.
    const bool deviceless = !device_ && (failed || wanted);
    if (deviceless) {
        voice_.Stop();
    }
    lock.lock();
    failed_ = failed_ || (wanted && !device_);
}

}  // namespace quibbix
