#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "game/FrmMain.h"
#include "shell/DisplayChoice.h"
#include "shell/platform/FileSettingsStore.h"
#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

std::string Numbered(const char* prefix, int number) {
    return std::string(prefix).append(std::to_string(number));
}

class SettingsPersistenceTest : public ::testing::Test {
protected:
    SettingsPersistenceTest() {
        char name[] = "/tmp/quibbix-persistence-XXXXXX";
        folder_ = mkdtemp(name);
        file_ = folder_ / "Quibbix" / "settings.ini";
    }
    ~SettingsPersistenceTest() override { fs::remove_all(folder_); }

    // Runs the game from start-up to the exit icon on the settings file, as a player would.
    void PlayOnce(const std::function<void(FrmMain&)>& play) {
        PlayOnceWithStore([&play](FrmMain& form, SettingsStore&) { play(form); });
    }
    // The same, with the store at hand for what the window itself keeps there.
    void PlayOnceWithStore(const std::function<void(FrmMain&, SettingsStore&)>& play) {
        FileSettingsStore store(file_, "Quibbix");
        HeadlessPlatform platform("", "/opt/quibbix");
        Platform services = platform.Services();
        Platform withFile{services.window, services.clock,  store,
                          services.sound,  services.random, services.app};
        FrmMain form(withFile);
        form.Load();
        play(form, store);
        form.pctExitIcon_Click();
    }

    std::string FileText() const {
        std::ifstream in(file_);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
    fs::path file_;
};

TEST_F(SettingsPersistenceTest, TheTableAndTheSoundSurviveFromOneRunToTheNext) {
    PlayOnce([](FrmMain& form) {
        form.pctSound_Click();
        form.HighScoreNames[1] = "ACE";
        form.HighScores[1] = 1500;
        form.HighScoreNames[10] = " =;#[\"\\";
        form.HighScores[10] = -7;
    });
    PlayOnce([](FrmMain& form) {
        EXPECT_TRUE(form.SoundOn());
        EXPECT_EQ(form.HighScoreNames[1], "ACE");
        EXPECT_EQ(form.HighScores[1], 1500);
        EXPECT_EQ(form.HighScoreNames[10], " =;#[\"\\");
        EXPECT_EQ(form.HighScores[10], -7);
    });
    const std::string text = FileText();
    EXPECT_NE(text.find("HighScore1=\" 1500\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Sound=1\n"), std::string::npos) << text;
}

TEST_F(SettingsPersistenceTest, StoredTextsAreReadByTheGamesConversions) {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_) << "[Settings]\nSound=abc\nHighScore1=1500\nHighScore2=2.5\nHighScore3=99999999999\n"
                            "HighScore4=  -3x\nhighscore5=12\n";
    PlayOnce([](FrmMain& form) {
        EXPECT_FALSE(form.SoundOn());
        EXPECT_EQ(form.HighScores[1], 1500);
        EXPECT_EQ(form.HighScores[2], 2);
        EXPECT_EQ(form.HighScores[3], 2147483647);
        EXPECT_EQ(form.HighScores[4], -3);
        EXPECT_EQ(form.HighScores[5], 12);
        EXPECT_EQ(form.HighScoreNames[6], "");
    });
    std::ifstream written(file_);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("HighScore1=\" 1500\"\n"), std::string::npos) << "written back with its blank";
    EXPECT_NE(text.find("Sound=0\n"), std::string::npos) << "a save always writes 1 or 0";
    for (const char* sound : {"7", "-1", " 1"}) {
        std::ofstream(file_) << "[Settings]\nSound=" << sound << "\n";
        PlayOnce([sound](FrmMain& form) { EXPECT_TRUE(form.SoundOn()) << sound; });
    }
    std::ofstream(file_) << "[Settings]\nSound=0\n";
    PlayOnce([](FrmMain& form) { EXPECT_FALSE(form.SoundOn()); });
}

TEST_F(SettingsPersistenceTest, HostileFilesNeverStopTheGameAndAValidFileFollows) {
    std::mt19937 random(4711);
    const std::string pieces[] = {"[Settings]",
                                  "\r\n",
                                  "\n",
                                  "=",
                                  "\"",
                                  "\\",
                                  "HighScore1",
                                  "Sound",
                                  "\xEF\xBB\xBF",
                                  "\0",
                                  "9999999999999999999999",
                                  "-",
                                  "HighScoreName3=",
                                  "[",
                                  ";"};
    for (int file = 0; file < 200; ++file) {
        fs::create_directories(file_.parent_path());
        std::ofstream out(file_, std::ios::binary | std::ios::trunc);
        const int parts = static_cast<int>(random() % 400);
        for (int i = 0; i < parts; ++i) {
            if (random() % 3 == 0) {
                out << static_cast<char>(random() % 256);
            } else {
                out << pieces[random() % std::size(pieces)];
            }
        }
        out.close();
        PlayOnce([](FrmMain& form) { form.HighScoreNames[2] = "KEPT"; });
        PlayOnce([](FrmMain& form) { ASSERT_EQ(form.HighScoreNames[2], "KEPT"); });
    }
}

// The child saves a new table over and over; the parent kills it at a random moment. Every
// table found afterwards is one that was saved whole.
TEST_F(SettingsPersistenceTest, KillingTheGameDuringASaveLeavesAWholeTable) {
    std::mt19937 random(99);
    const auto saveTables = [this](int first) {
        for (int round = first;; ++round) {
            FileSettingsStore store(file_, "Quibbix");
            for (int n = 1; n <= 10; ++n) {
                store.SaveSetting("Quibbix", "Settings", Numbered("HighScoreName", n), Numbered("R", round));
                store.SaveSetting("Quibbix", "Settings", Numbered("HighScore", n), Numbered(" ", round));
            }
            store.Flush();
        }
    };
    // The old table the first kill may leave in place.
    FileSettingsStore first(file_, "Quibbix");
    for (int n = 1; n <= 10; ++n) {
        first.SaveSetting("Quibbix", "Settings", Numbered("HighScoreName", n), "R0");
        first.SaveSetting("Quibbix", "Settings", Numbered("HighScore", n), " 0");
    }
    first.Flush();
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            saveTables(kill * 100000);
            _exit(0);
        }
        usleep(1000 + random() % 20000);
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const FileSettingsStore store(file_, "Quibbix");
        const std::string name = store.GetSetting("Quibbix", "Settings", "HighScoreName1", "?");
        ASSERT_NE(name, "?") << "a table is always there";
        for (int n = 1; n <= 10; ++n) {
            ASSERT_EQ(store.GetSetting("Quibbix", "Settings", Numbered("HighScoreName", n), "?"), name);
            ASSERT_EQ(store.GetSetting("Quibbix", "Settings", Numbered("HighScore", n), "?"),
                      std::string(" ").append(name.substr(1)));
        }
    }
}

TEST_F(SettingsPersistenceTest, TheWindowsChoicesSurviveTheRunAndLeaveTheGameSettingsAlone) {
    PlayOnceWithStore(
        [](FrmMain&, SettingsStore& store) { EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 0); });
    const std::string untouched = FileText();
    EXPECT_EQ(untouched.find("[Display]"), std::string::npos) << "nothing chosen, nothing written";

    PlayOnceWithStore([](FrmMain&, SettingsStore& store) { SaveDisplayChoice(store, "Quibbix", {2, true}); });
    const std::string text = FileText();
    EXPECT_EQ(text.substr(0, untouched.size()), untouched) << "the game's own section comes first, unchanged";
    EXPECT_NE(text.find("[Display]\nZoom=2\nFullScreen=1\n"), std::string::npos) << text;

    PlayOnceWithStore([](FrmMain&, SettingsStore& store) {
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
