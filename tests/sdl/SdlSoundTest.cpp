#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "shell/sdl/SdlSound.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

    // The left channel of what was played: 44100 frames a second of 16-bit stereo.
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

constexpr double kRate = 44100;

// Seconds from the first to the last sample above a whisper.
double AudibleSeconds(const std::vector<std::int16_t>& samples, std::size_t* first = nullptr) {
    std::size_t begin = samples.size();
    std::size_t end = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 300) {
            begin = std::min(begin, i);
            end = i;
        }
    }
    if (first != nullptr) {
        *first = begin;
    }
    return begin > end ? 0 : (end - begin) / kRate;
}

TEST_F(SdlSoundTest, ANewEffectCutsOffTheOneStillPlaying) {
    {
        SdlSound sound;
        sound.Open();
        sound.sndPlaySoundA(Effect("Bleep.wav"), 1);  // 0.42 s played whole
        std::this_thread::sleep_for(700ms);
        sound.sndPlaySoundA(Effect("Bleep.wav"), 1);
        std::this_thread::sleep_for(100ms);
        sound.sndPlaySoundA(Effect("Window.wav"), 1);  // 0.1 s
        std::this_thread::sleep_for(600ms);
    }
    const std::vector<std::int16_t> heard = Heard();
    ASSERT_GT(heard.size(), kRate);
    std::size_t first = 0;
    const double whole =
        AudibleSeconds({heard.begin(), heard.begin() + static_cast<long>(0.6 * kRate)}, &first);
    EXPECT_NEAR(whole, 0.42, 0.05);
    const std::vector<std::int16_t> rest(heard.begin() + static_cast<long>(first + 0.6 * kRate), heard.end());
    EXPECT_NEAR(AudibleSeconds(rest), 0.1 + 0.1, 0.06) << "the second chime is cut short by the pop";
}

TEST_F(SdlSoundTest, AMissingFilePlaysAShortBeep) {
    {
        SdlSound sound;
        sound.Open();
        sound.sndPlaySoundA((folder_ / "Nowhere.wav").string(), 1);
        std::this_thread::sleep_for(400ms);
    }
    const std::vector<std::int16_t> heard = Heard();
    std::size_t first = 0;
    const double seconds = AudibleSeconds(heard, &first);
    EXPECT_NEAR(seconds, 0.12, 0.03);
    // Count rising zero crossings over the beep to find its pitch.
    int crossings = 0;
    const std::size_t last = first + static_cast<std::size_t>(seconds * kRate);
    for (std::size_t i = first + 1; i < last && i < heard.size(); ++i) {
        crossings += heard[i - 1] < 0 && heard[i] >= 0;
    }
    EXPECT_NEAR(crossings / seconds, 880, 60);
}

TEST(SdlSoundWithoutDevice, PlaysOnSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlSound sound;
    sound.Open();
    sound.sndPlaySoundA("/nowhere/Missile.wav", 1);
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace quibbix
