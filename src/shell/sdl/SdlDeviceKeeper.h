#pragma once
#include <condition_variable>
#include <mutex>
#include <thread>

#include "shell/sdl/SdlVoice.h"

namespace quibbix {

// Keeps the audio device open exactly while it is wanted: while the game holds it, or while the
// voice sounds. The device is opened and closed on a thread of the keeper's own: closing waits
// for the sound server to ask for more (some 50 ms with PulseAudio, up to two seconds with a sink
// that asks rarely), and the event thread must never wait for sound. The thread sleeps until
// something changes, and is only started when sound is first wanted.
class SdlDeviceKeeper {
public:
    explicit SdlDeviceKeeper(SdlVoice& voice) : voice_(voice) {}
    SdlDeviceKeeper(const SdlDeviceKeeper&) = delete;
    SdlDeviceKeeper& operator=(const SdlDeviceKeeper&) = delete;
    // Closes the device.
    ~SdlDeviceKeeper();

    // Whether the device should stay open in silence too.
    void Hold(bool held);
    // The voice started or fell silent; safe on any thread.
    void Wake();
    // After a device that would not open, the keeper leaves effects unheard and tries again only
    // when told to.
    void Retry();

private:
    void StartThread();
    void Run();

    SdlVoice& voice_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool dirty_ = false;
    bool failed_ = false;
    bool ending_ = false;
    std::once_flag started_;
    std::thread thread_;
};

}  // namespace quibbix
