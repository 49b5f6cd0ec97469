#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "shell/sdl/SdlSound.h"
#include "shell/sdl/SoundFile.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr double kRate = 44100;

// The stretches of sound above a whisper, as (first sample, seconds); gaps shorter than 50 ms
// belong to the sound around them.
struct Stretch {
    std::size_t first;
    double seconds;
};
std::vector<Stretch> Stretches(const std::vector<std::int16_t>& samples) {
    constexpr std::size_t kGap = static_cast<std::size_t>(0.05 * kRate);
    std::vector<Stretch> found;
    std::size_t begin = 0;
    std::size_t last = 0;
    bool inside = false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= 300) {
            continue;
        }
        if (inside && i - last > kGap) {
            found.push_back({begin, (last - begin) / kRate});
            inside = false;
        }
        if (!inside) {
            begin = i;
            inside = true;
        }
        last = i;
    }
    if (inside) {
        found.push_back({begin, (last - begin) / kRate});
    }
    return found;
}

// Whether SDL runs an audio thread in this process: only an open device has one.
bool DeviceOpen() {
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.rfind("SDLAudio", 0) == 0) {
            return true;
        }
    }
    return false;
}

// Closed, SDL's audio is shut down altogether: no connection to a sound server is left either.
bool AudioIdle() {
    return !DeviceOpen() && SDL_WasInit(SDL_INIT_AUDIO) == 0;
}

// Closing waits for SDL's audio thread to finish its last buffers.
bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 300 && !condition(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

// SDL's disk driver plays into a file in real time, so what the player would hear can be read.
class SdlSoundTest : public ::testing::Test {
protected:
    SdlSoundTest() {
        char name[] = "/tmp/quibbix-sound-XXXXXX";
        folder_ = mkdtemp(name);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (folder_ / "heard.raw").c_str(), 1);
    }
    ~SdlSoundTest() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        fs::remove_all(folder_);
    }

    // The left channel of what was played since the device last opened: 44100 frames a second of
    // 16-bit stereo.
    std::vector<std::int16_t> Heard() const {
        std::ifstream in(folder_ / "heard.raw", std::ios::binary);
        std::vector<std::int16_t> left;
        std::int16_t frame[2];
        while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
            left.push_back(frame[0]);
        }
        return left;
    }

    static fs::path Effect(const char* name) { return fs::path(QUIBBIX_SOUNDS) / name; }

    fs::path folder_;
};

TEST_F(SdlSoundTest, ANewEffectCutsOffTheOneStillPlaying) {
    {
        SdlSound sound;
        sound.SetGameRunning(true);
        sound.sndPlaySoundA(Effect("Bleep.wav"), 1);  // 0.42 s played whole
        std::this_thread::sleep_for(700ms);
        sound.sndPlaySoundA(Effect("Bleep.wav"), 1);
        std::this_thread::sleep_for(100ms);
        sound.sndPlaySoundA(Effect("Window.wav"), 1);  // 0.1 s
        std::this_thread::sleep_for(600ms);
    }
    const std::vector<Stretch> heard = Stretches(Heard());
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].seconds, 0.42, 0.05);
    EXPECT_NEAR(heard[1].seconds, 0.1 + 0.1, 0.06) << "the second chime is cut short by the pop";
}

TEST_F(SdlSoundTest, AMissingFilePlaysAShortBeep) {
    {
        SdlSound sound;
        sound.sndPlaySoundA((folder_ / "Nowhere.wav").string(), 1);
        std::this_thread::sleep_for(400ms);
    }
    const std::vector<std::int16_t> heard = Heard();
    const std::vector<Stretch> beeps = Stretches(heard);
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_NEAR(beeps[0].seconds, 0.12, 0.03);
    // Count rising zero crossings over the beep to find its pitch.
    int crossings = 0;
    const std::size_t last = beeps[0].first + static_cast<std::size_t>(beeps[0].seconds * kRate);
    for (std::size_t i = beeps[0].first + 1; i < last && i < heard.size(); ++i) {
        crossings += heard[i - 1] < 0 && heard[i] >= 0;
    }
    EXPECT_NEAR(crossings / beeps[0].seconds, 880, 60);
}

// A loud 8-bit mono WAV whose header claims `rate` samples a second.
void WriteWav(const fs::path& path, std::uint32_t rate, std::uint32_t samples) {
    std::ofstream out(path, std::ios::binary);
    const auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.put(static_cast<char>(value >> (8 * i)));
        }
    };
    out << "RIFF";
    put(36 + samples, 4);
    out << "WAVEfmt ";
    for (const auto& [value, bytes] :
         {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {rate, 4}, {rate, 4}, {1u, 2}, {8u, 2}}) {
        put(value, bytes);
    }
    out << "data";
    put(samples, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        out.put(static_cast<char>(i % 2 != 0 ? 0xF0 : 0x10));
    }
}

// None of these may hold the game up or fill its memory: a pipe nobody writes to blocks a
// reader, a device never ends, a huge file takes long to read, and a rate of 1 Hz grows each
// sample 44,100-fold on its way to the device.
TEST_F(SdlSoundTest, APipeADeviceOrAHugeFileBeepLikeAMissingFile) {
    const fs::path pipe = folder_ / "Pipe.wav";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const fs::path endless = folder_ / "Endless.wav";
    fs::create_symlink("/dev/zero", endless);
    const fs::path huge = folder_ / "Huge.wav";
    fs::copy_file(Effect("Bleep.wav"), huge);
    fs::resize_file(huge, kMaxSoundFileBytes + 1);  // sparse: takes no room on the disk
    const fs::path slow = folder_ / "Slow.wav";
    WriteWav(slow, 1, 4096);
    const fs::path fast = folder_ / "Fast.wav";
    WriteWav(fast, 4'000'000, 4096);
    const fs::path long4k = folder_ / "Long.wav";  // 2 MiB at 4 kHz: 23 MiB for the device
    WriteWav(long4k, 4'000, 2 << 20);
    {
        SdlSound sound;
        sound.SetGameRunning(true);
        for (const fs::path& hostile : {pipe, endless, huge, slow, fast, long4k}) {
            sound.sndPlaySoundA(hostile.string(), 1);
            std::this_thread::sleep_for(300ms);
        }
    }
    const std::vector<Stretch> heard = Stretches(Heard());
    ASSERT_EQ(heard.size(), 6u);
    for (const Stretch& beep : heard) {
        EXPECT_NEAR(beep.seconds, 0.12, 0.03);
    }
}

TEST_F(SdlSoundTest, AFileChangedWhileTheGamePlaysIsHeard) {
    const fs::path effect = folder_ / "Effect.wav";
    fs::copy_file(Effect("Window.wav"), effect);
    {
        SdlSound sound;
        sound.SetGameRunning(true);
        sound.sndPlaySoundA(effect.string(), 1);
        std::this_thread::sleep_for(300ms);
        fs::copy_file(Effect("Bleep.wav"), effect, fs::copy_options::overwrite_existing);
        sound.sndPlaySoundA(effect.string(), 1);
        std::this_thread::sleep_for(600ms);
    }
    const std::vector<Stretch> heard = Stretches(Heard());
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].seconds, 0.1, 0.03);
    EXPECT_NEAR(heard[1].seconds, 0.42, 0.05);
}

// A loud 16-bit mono tone of 44.1 kHz as a .wav file.
void WriteTone(const fs::path& path, std::uint32_t frames) {
    const auto le32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le32(36 + 2 * frames) << "WAVEfmt " << le32(16) << std::string("\x01\x00\x01\x00", 4)
        << le32(44100) << le32(88200) << std::string("\x02\x00\x10\x00", 4) << "data" << le32(2 * frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::int16_t sample = (i / 50) % 2 == 0 ? 10000 : -10000;
        out.write(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
}

// A file as large as may be takes a while to read and decode, off the event thread; an effect
// asked for meanwhile is the one heard.
TEST_F(SdlSoundTest, AnEffectStillLoadingNeverCutsOffOneAskedForAfterIt) {
    const fs::path large = folder_ / "Large.wav";
    WriteTone(large, (kMaxSoundFileBytes - 44) / 2);
    {
        SdlSound sound;
        sound.SetGameRunning(true);
        sound.sndPlaySoundA(Effect("Window.wav"), 1);
        std::this_thread::sleep_for(300ms);
        sound.sndPlaySoundA(large.string(), 1);
        sound.sndPlaySoundA(Effect("Window.wav"), 1);  // read before, so it starts at once
        std::this_thread::sleep_for(600ms);
    }
    const std::vector<Stretch> heard = Stretches(Heard());
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[1].seconds, 0.1, 0.03);
}

// An open device keeps an audio thread awake even in silence: an idle game must have none.
TEST_F(SdlSoundTest, TheDeviceIsOpenOnlyWhileTheGameRunsOrAnEffectSounds) {
    SdlSound sound;
    EXPECT_TRUE(AudioIdle()) << "nothing of SDL's audio before the first effect";

    sound.SetGameRunning(true);
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(DeviceOpen()) << "a game without sound opens no device";

    sound.sndPlaySoundA(Effect("Window.wav"), 1);
    EXPECT_TRUE(Eventually(DeviceOpen)) << "an effect opens the device";
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(DeviceOpen()) << "a running game keeps it between effects";

    sound.SetGameRunning(false);
    EXPECT_TRUE(Eventually(AudioIdle)) << "a paused game closes it";

    sound.SetGameRunning(true);
    EXPECT_TRUE(Eventually(DeviceOpen)) << "resuming a game that made sound opens it again";
    sound.SetGameRunning(false);
    EXPECT_TRUE(Eventually(AudioIdle));

    sound.sndPlaySoundA(Effect("Missile.wav"), 1);
    EXPECT_TRUE(Eventually(DeviceOpen)) << "an effect opens it while the game stands";
    EXPECT_TRUE(Eventually(AudioIdle)) << "and it closes once the effect has ended";
}

TEST(SdlSoundWithoutDevice, PlaysOnSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SdlSound sound;
        sound.SetGameRunning(true);
        sound.sndPlaySoundA("/nowhere/Missile.wav", 1);
        sound.sndPlaySoundA(QUIBBIX_SOUNDS "/Missile.wav", 1);
        sound.SetGameRunning(false);
    }
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace quibbix
