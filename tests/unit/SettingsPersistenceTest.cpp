// The game's own use of the settings file, from one run to the next.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "game/FrmMain.h"
#include "shell/DisplayChoice.h"
#include "shell/platform/FileSettingsStore.h"
#include "tests/common/TempFolder.h"
#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

using namespace std::string_literals;

class SettingsPersistenceTest : public ::testing::Test, protected TempFolder {
protected:
    // Runs the game from start-up to the exit icon on the settings file, as a player would, with the
    // store at hand for what the window itself keeps there.
    void PlayOnce(const std::function<void(FrmMain&, SettingsStore&)>& play) {
        FileSettingsStore store(File(), "Quibbix");
        HeadlessPlatform platform("", "/opt/quibbix");
        Platform services = platform.Services();
        Platform withFile{services.window, services.clock,  store,
                          services.sound,  services.random, services.app};
        FrmMain form(withFile);
        form.Load();
        play(form, store);
        form.pctExitIcon_Click();
    }
    void Put(std::string_view text) const { TempFolder::Put(File(), text); }
    std::string FileText() const { return Contents(File()); }
};

TEST_F(SettingsPersistenceTest, TheTableAndTheSoundSurviveAndStoredTextsAreReadAsNumbers) {
    const std::string awkward = " =;#[\"\\";
    PlayOnce([&](FrmMain& form, SettingsStore&) {
        form.pctSound_Click();
        form.HighScoreNames[1] = "ACE";
        form.HighScores[1] = 1500;
        form.HighScoreNames[10] = awkward;
        form.HighScores[10] = -7;
    });
    PlayOnce([&](FrmMain& form, SettingsStore&) {
        EXPECT_TRUE(form.SoundOn());
        EXPECT_EQ(std::pair(form.HighScoreNames[1], form.HighScores[1]), std::pair("ACE"s, 1500));
        EXPECT_EQ(std::pair(form.HighScoreNames[10], form.HighScores[10]), std::pair(awkward, -7));
    });
    EXPECT_NE(FileText().find("HighScore1=\" 1500\"\n"), std::string::npos) << FileText();

    // By hand: blanks around the "=", quotes, and numbers the game never writes.
    Put("[Settings]\nSound=abc\nHighScore1=1500\nHighScore2=2.5\nHighScore3=99999999999\nHighScore4=  -3x\n"
        "highscore5=12\nHighScoreName1 = \"A B\" \nHighScore7 =\t\" 1500\"\nHighScoreName2\t=\tBARE \n"
        "HighScoreName10=\" \"\n");
    PlayOnce([](FrmMain& form, SettingsStore&) {
        EXPECT_FALSE(form.SoundOn());
        EXPECT_EQ(std::vector(form.HighScores.begin() + 1, form.HighScores.begin() + 8),
                  (std::vector<std::int32_t>{1500, 2, 2147483647, -3, 12, 0, 1500}));
        EXPECT_EQ(std::vector(form.HighScoreNames.begin() + 1, form.HighScoreNames.begin() + 3),
                  (std::vector<std::string>{"A B", "BARE"}));
        EXPECT_EQ(form.HighScoreNames[10], " ");
    });
    EXPECT_NE(FileText().find("HighScore1=\" 1500\"\n"), std::string::npos) << "written back with its blank";
    EXPECT_NE(FileText().find("Sound=0\n"), std::string::npos) << "a save always writes 1 or 0";
    for (const std::string sound : {"Sound=7", "Sound=-1", " Sound = 1 ", "Sound=\" 1\"", "Sound=0"}) {
        Put("[Settings]\n" + sound + "\n");
        PlayOnce([&](FrmMain& form, SettingsStore&) {
            EXPECT_EQ(form.SoundOn(), !sound.ends_with('0')) << sound;
        });
    }
}

// Random files, mostly made of what the format is made of: each is played on, and the table the
// game saved over it comes back whole in the next run.
TEST_F(SettingsPersistenceTest, HostileFilesNeverStopTheGameAndAValidFileFollows) {
    std::mt19937 random(4711);
    // clang-format off
    const std::string pieces[] = {"[Settings]", "\r\n", "\n", "\r", "=", "\"", "\\", " ", "\t", "HighScore1", "Sound",
        "\xEF\xBB\xBF", "\0"s, "9999999999999999999999", "-", "HighScoreName2=", "[", "]", ";", "#"};
    // clang-format on
    for (int file = 0; file < 400; ++file) {
        std::string bytes;
        for (auto parts = random() % (file % 10 == 0 ? 20000 : 400); parts > 0; --parts) {
            bytes += random() % 3 == 0 ? std::string(1, static_cast<char>(random())) : pieces[random() % 20];
        }
        Put(bytes);
        PlayOnce([](FrmMain& form, SettingsStore&) { form.HighScoreNames[2] = " \"KEPT\" =\n;"; });
        PlayOnce([](FrmMain& form, SettingsStore&) { ASSERT_EQ(form.HighScoreNames[2], " \"KEPT\" =\n;"); });
        if (HasFatalFailure()) {
            FAIL() << "file " << file;
        }
    }
}

std::string Key(const char* prefix, int n) {
    return std::string(prefix).append(std::to_string(n));
}

// The child saves a new table over and over; the parent kills it at a random moment. Every
// table found afterwards is one that was saved whole.
TEST_F(SettingsPersistenceTest, KillingTheGameDuringASaveLeavesAWholeTable) {
    std::mt19937 random(99);
    const auto saveTable = [this](int round) {
        FileSettingsStore store(File(), "Quibbix");
        for (int n = 1; n <= 10; ++n) {
            store.SaveSetting("Quibbix", "Settings", Key("HighScoreName", n), Key("R", round));
            store.SaveSetting("Quibbix", "Settings", Key("HighScore", n), Key(" ", round));
        }
        store.Flush();
    };
    saveTable(0);  // the old table the first kill may leave in place
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int round = kill * 100000;; ++round) {
                saveTable(round);
            }
        }
        usleep(1000 + random() % 20000);
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const FileSettingsStore store(File(), "Quibbix");
        const std::string name = store.GetSetting("Quibbix", "Settings", "HighScoreName1", "?");
        ASSERT_NE(name, "?") << "a table is always there";
        for (int n = 1; n <= 10; ++n) {
            ASSERT_EQ(store.GetSetting("Quibbix", "Settings", Key("HighScoreName", n), "?"), name);
            ASSERT_EQ(store.GetSetting("Quibbix", "Settings", Key("HighScore", n), "?"),
                      std::string(" ").append(name.substr(1)));
        }
    }
}

TEST_F(SettingsPersistenceTest, TheWindowsChoicesSurviveTheRunAndLeaveTheGameSettingsAlone) {
    PlayOnce([](FrmMain&, SettingsStore& store) { EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 0); });
    const std::string untouched = FileText();
    EXPECT_EQ(untouched.find("[Display]"), std::string::npos) << "nothing chosen, nothing written";

    PlayOnce([](FrmMain&, SettingsStore& store) { SaveDisplayChoice(store, "Quibbix", {2, true}); });
    EXPECT_EQ(FileText().substr(0, untouched.size()), untouched) << "the game's own section comes first";
    EXPECT_NE(FileText().find("[Display]\nZoom=2\nFullScreen=1\n"), std::string::npos) << FileText();
    PlayOnce([](FrmMain&, SettingsStore& store) {
        EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 2);
        EXPECT_TRUE(LoadDisplayChoice(store, "Quibbix").fullScreen);
    });
    // Nonsense in the file means follow the desktop.
    for (const char* zoom : {"-1", "2x", "", "65", "99999999999", "\" 2\""}) {
        Put("[Display]\nZoom="s + zoom + "\nFullScreen=yes\n");
        PlayOnce([zoom](FrmMain&, SettingsStore& store) {
            EXPECT_EQ(LoadDisplayChoice(store, "Quibbix").zoom, 0) << zoom;
            EXPECT_FALSE(LoadDisplayChoice(store, "Quibbix").fullScreen);
        });
    }
}

}  // namespace
}  // namespace quibbix
