#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
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
#include "tests/common/TempFolder.h"

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
    std::vector<Stretch> found;
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 300) {
            if (found.empty() || i - last > 0.05 * kRate) {
                found.push_back({i, 0});
            }
            found.back().seconds = (i - found.back().first) / kRate;
            last = i;
        }
    }
    return found;
}

// Only an open device has an audio thread; closed, SDL's audio is shut down altogether, with no
// connection to a sound server left either.
bool DeviceOpen() {
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.starts_with("SDLAudio")) {
            return true;
        }
    }
    return false;
}

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

// A loud mono WAV of 8 or 16 bits whose header claims `rate` samples a second.
void WriteWav(const fs::path& path, std::uint32_t rate, std::uint16_t bits, std::uint32_t samples) {
    const auto le = [](std::uint32_t v, int bytes) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}.substr(0, bytes);
    };
    const std::uint32_t width = bits / 8;
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le(36 + width * samples, 4) << "WAVEfmt " << le(16, 4) << le(1, 2) << le(1, 2)
        << le(rate, 4) << le(rate * width, 4) << le(width, 2) << le(bits, 2) << "data"
        << le(width * samples, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        out << (width == 1 ? le(i % 2 != 0 ? 0xF0 : 0x10, 1) : le((i / 50) % 2 == 0 ? 10000 : -10000, 2));
    }
}

// SDL's disk driver plays into a file in real time, so what the player would hear can be read.
class SdlSoundTest : public ::testing::Test {
protected:
    SdlSoundTest() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (folder_.Path() / "heard.raw").c_str(), 1);
    }
    ~SdlSoundTest() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // The left channel of what was played since the device last opened (16-bit stereo).
    std::vector<std::int16_t> Heard() const {
        std::ifstream in(folder_.Path() / "heard.raw", std::ios::binary);
        std::vector<std::int16_t> left;
        for (std::int16_t frame[2]; in.read(reinterpret_cast<char*>(frame), sizeof frame);) {
            left.push_back(frame[0]);
        }
        return left;
    }

    std::vector<Stretch> Play(
        const std::vector<std::pair<fs::path, std::chrono::milliseconds>>& effects,
        const std::function<void(std::size_t)>& between = [](std::size_t) {}) {
        {
            SdlSound sound;
            sound.SetGameRunning(true);
            for (std::size_t i = 0; i < effects.size(); ++i) {
                sound.sndPlaySoundA(effects[i].first.string(), 1);
                std::this_thread::sleep_for(effects[i].second);
                between(i);
            }
        }
        return Stretches(Heard());
    }

    static fs::path Effect(const char* name) { return fs::path(QUIBBIX_SOUNDS) / name; }
    fs::path In(const char* name) const { return folder_.Path() / name; }

    TempFolder folder_;
};

// A new effect cuts off the one still playing; a file changed while the game plays is heard as it is
// now; and a file as large as may be, which takes a while to read and decode off the event thread,
// never cuts off an effect asked for after it (read before, so it starts at once).
TEST_F(SdlSoundTest, EachEffectIsHeardAsAskedForAndCutsOffTheOneBefore) {
    fs::copy_file(Effect("Window.wav"), In("Effect.wav"));
    WriteWav(In("Large.wav"), 44100, 16, (kMaxSoundFileBytes - 44) / 2);
    // Bleep.wav lasts 0.42 s, Window.wav 0.1 s.
    const std::vector<Stretch> heard = Play({{Effect("Bleep.wav"), 700ms},
                                             {Effect("Bleep.wav"), 100ms},
                                             {Effect("Window.wav"), 600ms},
                                             {In("Effect.wav"), 300ms},
                                             {In("Effect.wav"), 600ms},
                                             {In("Large.wav"), 0ms},
                                             {Effect("Window.wav"), 600ms}},
                                            [this](std::size_t i) {
                                                if (i == 3) {
                                                    fs::copy_file(Effect("Bleep.wav"), In("Effect.wav"),
                                                                  fs::copy_options::overwrite_existing);
                                                }
                                            });
    ASSERT_EQ(heard.size(), 5u);
    EXPECT_NEAR(heard[0].seconds, 0.42, 0.05);
    EXPECT_NEAR(heard[1].seconds, 0.1 + 0.1, 0.06) << "the second chime is cut short by the pop";
    EXPECT_NEAR(heard[2].seconds, 0.1, 0.03) << "the file as it was";
    EXPECT_NEAR(heard[3].seconds, 0.42, 0.05) << "the file as it is now";
    EXPECT_NEAR(heard[4].seconds, 0.1, 0.03) << "the effect asked for after the large one";
}

// None of these may hold the game up or fill its memory: a pipe nobody writes to blocks a reader,
// a device never ends, a huge file takes long to read, and a rate of 1 Hz grows each sample
// 44,100-fold on its way to the device. Each plays the short beep of a missing file.
TEST_F(SdlSoundTest, WhatCannotBePlayedBeeps) {
    ASSERT_EQ(::mkfifo(In("Pipe.wav").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", In("Endless.wav"));
    fs::copy_file(Effect("Bleep.wav"), In("Huge.wav"));
    fs::resize_file(In("Huge.wav"), kMaxSoundFileBytes + 1);  // sparse: takes no room on the disk
    TempFolder::Put(In("Text.wav"), "RIFF but not a sound at all");
    WriteWav(In("Slow.wav"), 1, 8, 4096);
    WriteWav(In("Fast.wav"), 4'000'000, 8, 4096);
    WriteWav(In("Long.wav"), 4'000, 8, 2 << 20);  // 2 MiB at 4 kHz: 23 MiB for the device
    std::vector<std::pair<fs::path, std::chrono::milliseconds>> effects;
    for (const char* name : {"Nowhere.wav", "Pipe.wav", "Endless.wav", "Huge.wav", "Text.wav", "Slow.wav",
                             "Fast.wav", "Long.wav"}) {
        effects.emplace_back(In(name), 300ms);
    }
    const std::vector<Stretch> heard = Play(effects);
    ASSERT_EQ(heard.size(), effects.size());
    for (const Stretch& beep : heard) {
        EXPECT_NEAR(beep.seconds, 0.12, 0.03);
    }
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

}  // namespace
}  // namespace quibbix
