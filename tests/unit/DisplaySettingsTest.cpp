#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/DisplaySettings.h"
#include "shell/platform/FileSettingsStore.h"
#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

class DisplaySettingsTest : public ::testing::Test {
protected:
    DisplaySettingsTest() {
        char name[] = "/tmp/quibbix-display-XXXXXX";
        folder_ = mkdtemp(name);
        file_ = folder_ / "Quibbix" / "settings.ini";
    }
    ~DisplaySettingsTest() override { fs::remove_all(folder_); }

    // One run of the game up to the exit icon, with the window's choices made during it.
    void PlayOnce(const std::function<void(SettingsStore&)>& choose) {
        FileSettingsStore store(file_, "Quibbix");
        HeadlessPlatform platform("", "/opt/quibbix");
        Platform services = platform.Services();
        Platform withFile{services.window, services.clock,  store,
                          services.sound,  services.random, services.app};
        FrmMain form(withFile);
        form.Load();
        choose(store);
        form.pctExitIcon_Click();
    }

    std::string FileText() const {
        std::ifstream in(file_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
    fs::path file_;
};

TEST_F(DisplaySettingsTest, AChoiceSurvivesTheRunAndLeavesTheGameSettingsAlone) {
    PlayOnce([](SettingsStore& store) { EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 0); });
    const std::string untouched = FileText();
    EXPECT_EQ(untouched.find("[Display]"), std::string::npos) << "nothing chosen, nothing written";

    PlayOnce([](SettingsStore& store) { SaveDisplayChoice(store, "Quibbix", {2, true}); });
    const std::string text = FileText();
    EXPECT_EQ(text.substr(0, untouched.size()), untouched) << "the game's own section comes first, unchanged";
    EXPECT_NE(text.find("[Display]\nZoom=2\nFullScreen=1\n"), std::string::npos) << text;

    PlayOnce([](SettingsStore& store) {
        const DisplayChoice choice = LoadDisplayChoice(store, "Quibbix");
        EXPECT_EQ(choice.zoom, 2);
        EXPECT_TRUE(choice.fullScreen);
        SaveDisplayChoice(store, "Quibbix", {0, false});
    });
    EXPECT_NE(FileText().find("[Display]\nZoom=0\nFullScreen=0\n"), std::string::npos);
}

TEST(DisplayChoiceTest, NonsenseInTheFileMeansFollowTheDesktop) {
    MemorySettingsStore store;
    for (const char* zoom : {"-1", "2x", "", "65", "99999999999", " 2"}) {
        store.SaveSetting("Quibbix", "Display", "Zoom", zoom);
        EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 0) << zoom;
    }
    store.SaveSetting("Quibbix", "Display", "Zoom", "3");
    store.SaveSetting("Quibbix", "Display", "FullScreen", "yes");
    EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 3);
    EXPECT_FALSE(LoadDisplayChoice(store, "Quibbix").fullScreen);
}

}  // namespace
}  // namespace quibbix
