#include <string>

#include "game/Arithmetic.h"
#include "game/FrmMain.h"
#include "shell/SettingsText.h"

namespace quibbix {

namespace {

constexpr const char* kSection = "Settings";

}  // namespace

void FrmMain::LoadSettings() {
    const std::string& app = platform_.app.Title;
    SettingsStore& store = platform_.settings;

    const std::int16_t sound =
        RoundHalfEven<std::int16_t>(LeadingNumber(store.GetSetting(app, kSection, "Sound", "0")));
    pctSound.SetPicture(sound != 0 ? frmGraphics.pctSoundOn.Picture() : frmGraphics.pctSoundOff.Picture());

    for (int n = 1; n <= kRanks; ++n) {
        const std::string number = std::to_string(n);
        HighScoreNames[n] = store.GetSetting(app, kSection, "HighScoreName" + number, "");
        HighScores[n] = RoundHalfEven<std::int32_t>(
            LeadingNumber(store.GetSetting(app, kSection, "HighScore" + number, "0")));
    }
}

void FrmMain::SaveSettings() {
    const std::string& app = platform_.app.Title;
    SettingsStore& store = platform_.settings;

    store.SaveSetting(app, kSection, "Sound", SoundOn() ? "1" : "0");
    for (int n = 1; n <= kRanks; ++n) {
        const std::string number = std::to_string(n);
        store.SaveSetting(app, kSection, "HighScoreName" + number, HighScoreNames[n]);
        store.SaveSetting(app, kSection, "HighScore" + number, ScoreText(HighScores[n]));
    }
}

}  // namespace quibbix
