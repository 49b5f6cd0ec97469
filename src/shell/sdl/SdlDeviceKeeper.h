#pragma once
#include <memory>

#include "shell/sdl/SdlAudioDevice.h"
#include "shell/sdl/SdlVoice.h"
#include "shell/sdl/WorkerThread.h"

namespace quibbix {

// Keeps the audio device open exactly while it is wanted: while the game holds it, or while the
// voice sounds. The device is opened and closed on a thread of the keeper's own: closing waits
// for the sound server to ask for more (some 50 ms with PulseAudio, up to two seconds with a sink
// that asks rarely), and the event thread must never wait for sound. The thread sleeps until
// something changes, and is only started when sound is first wanted.
class SdlDeviceKeeper {
public:
    explicit SdlDeviceKeeper(SdlVoice& voice) : voice_(voice) {}

    // Whether the device should stay open in silence too.
    void Hold(bool held);
    // The voice started or fell silent; safe on any thread.
    void Wake();
    // After a device that would not open, the keeper leaves effects unheard and tries again only
    // when told to.
    void Retry();

private:
    // Opens or closes the device as the state asks, on the thread.
    void Update(WorkerThread::Lock& lock);

    SdlVoice& voice_;
    // Guarded by the thread's lock.
    bool held_ = false;
    bool dirty_ = false;
    bool failed_ = false;
    std::unique_ptr<SdlAudioDevice> device_;  // the thread's own; closed as it ends
    // Last, so that it ends before what it uses goes.
    WorkerThread thread_{[this] { return dirty_; }, [this](WorkerThread::Lock& lock) { Update(lock); },
                         [this] { device_.reset(); }};
};

}  // namespace quibbix
