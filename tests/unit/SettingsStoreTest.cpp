#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "shell/platform/FileSettingsStore.h"
#include "shell/platform/SettingsStore.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;
using Section = std::map<std::string, std::string>;

using namespace std::string_literals;

constexpr std::string_view kApp = "Quibbix";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quibbix-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path File() const { return folder_ / "Quibbix" / "settings.ini"; }

    static void Put(const fs::path& path, std::string_view bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
};

std::vector<std::string> AwkwardValues() {
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    std::string long100k;
    for (int i = 0; i < 100 * 1024; ++i) {
        long100k += static_cast<char>(' ' + i % 95);  // every printable character, quotes and backslashes too
    }
    // clang-format off
    return {" 1500", "Plain value", "", " ", "\t", "  both ends  ", "a=b=c", ";not a comment", "#nor this",
            "[Not a section]", "\"quoted\"", "\"open", "\"", "back\\slash", "ends in \\", "\\x41\\n",
            "line\nbreak", "\r\n", "\rcr", "tab\tinside", "nul\0byte"s, "\x01\x1f\x7f\x1b[0m", "Grüße, 🎲",
            everyByte, long100k};
    // clang-format on
}

TEST_F(SettingsStoreTest, AwkwardValuesComeBackExactlyAcrossTwoGenerations) {
    const auto values = AwkwardValues();
    FileSettingsStore first(File(), kApp);
    for (std::size_t i = 0; i < values.size(); ++i) {
        first.SaveSetting(kApp, "Settings", "K" + std::to_string(i), values[i]);
    }
    first.Flush();
    const std::string text = Contents(File());
    EXPECT_NE(text.find("\nK0=\" 1500\"\n"), std::string::npos);           // the score keeps its blank
    EXPECT_NE(text.find("\nK1=Plain value\n"), std::string::npos);         // ordinary values stay readable
    EXPECT_NE(text.find("\nK7=\";not a comment\"\n"), std::string::npos);  // other readers see a comment

    // The second generation rewrites every key in place rather than appending it.
    FileSettingsStore second(File(), kApp);
    for (std::size_t i = 0; i < values.size(); ++i) {
        second.SaveSetting(kApp, "Settings", "K" + std::to_string(i),
                           second.GetSetting(kApp, "Settings", "K" + std::to_string(i), "missing"));
    }
    second.Flush();
    EXPECT_EQ(Contents(File()), text);

    const FileSettingsStore third(File(), kApp);
    EXPECT_EQ(third.Values(kApp, "Settings").size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE("value " + std::to_string(i));
        EXPECT_EQ(third.GetSetting(kApp, "Settings", "K" + std::to_string(i), "missing"), values[i]);
    }
}

TEST_F(SettingsStoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    MemorySettingsStore memory;
    FileSettingsStore file(File(), kApp);
    for (SettingsStore* store : {static_cast<SettingsStore*>(&memory), static_cast<SettingsStore*>(&file)}) {
        store->SaveSetting("Quibbix", "Settings", "HighScore1", "1");
        store->SaveSetting("QUIBBIX", "settings", "HIGHSCORE1", "2");
        EXPECT_EQ(store->GetSetting("quibbix", "SETTINGS", "highscore1", ""), "2");
        EXPECT_EQ(store->Values(kApp, "Settings"), (Section{{"HighScore1", "2"}}));
    }
}

TEST_F(SettingsStoreTest, LastDuplicateWinsAndSavingDropsTheOthers) {
    Put(File(), "[Settings]\nName=a\nNAME=b\n[Other]\nx=1\n[settings]\n name = c \n");
    FileSettingsStore store(File(), kApp);
    EXPECT_EQ(store.Values(kApp, "Settings"), (Section{{"Name", "c"}}));
    store.SaveSetting(kApp, "Settings", "NAME", "d");
    store.Flush();
    EXPECT_EQ(Contents(File()), "[Settings]\nName=d\n[Other]\nx=1\n[settings]\n");
}

TEST_F(SettingsStoreTest, ReadsByteOrderMarkAndCrLf) {
    Put(File(), "\xEF\xBB\xBF[Settings]\r\nSound=1\r\nName = Ann \r\nScore=\" 1500\"\r\n");
    const FileSettingsStore store(File(), kApp);
    EXPECT_EQ(store.Values(kApp, "Settings"), (Section{{"Sound", "1"}, {"Name", "Ann"}, {"Score", " 1500"}}));
}

TEST_F(SettingsStoreTest, DamagedLinesAreSkippedAndTheRestIsRead) {
    Put(File(),
        "orphan=1\n[Settings]\nA=1\nno equals sign\n=no key\n\tSpaced key =  bare value \t\n"
        "Lost=\"unterminated \\q\\x4\nNul=a\0b\n[Broken\nLeak=1\n[Other]\nLong="s +
            std::string(200000, 'v') + "\n");
    const FileSettingsStore store(File(), kApp);
    EXPECT_EQ(store.Values(kApp, "Settings"), (Section{{"A", "1"},
                                                       {"Spaced key", "bare value"},
                                                       {"Lost", "unterminated q\x04"},
                                                       {"Nul", std::string("a\0b", 3)}}));
    EXPECT_EQ(store.GetSetting(kApp, "", "orphan", "none"), "none");
    EXPECT_EQ(store.GetSetting(kApp, "Other", "Long", "").size(), 200000u);
}

// Reads a hostile file, saves a value, and checks that the value reads back from the file written.
void ExpectSurvives(const fs::path& path) {
    const std::string probe = " \"probe\" =\n;";
    {
        FileSettingsStore store(path, kApp);
        store.GetSetting(kApp, "Settings", "Sound", "1");
        store.Values(kApp, "Settings");
        store.SaveSetting(kApp, "Settings", "Probe", probe);
        store.Flush();
    }
    EXPECT_EQ(FileSettingsStore(path, kApp).GetSetting(kApp, "Settings", "Probe", "lost"), probe);
}

TEST_F(SettingsStoreTest, RandomBytesNeverBreakTheStore) {
    std::mt19937 random(20240611);
    constexpr std::string_view kTricky = "[]=\"\\\n\r;# \tSettingsProbe\xEF\xBB\xBF";
    for (int file = 0; file < 1000; ++file) {
        std::string bytes(random() % (64 * 1024), '\0');
        for (char& byte : bytes) {
            const auto bits = random();
            byte = bits & 1 ? kTricky[(bits >> 1) % kTricky.size()] : static_cast<char>(bits >> 8);
        }
        Put(File(), bytes);
        ExpectSurvives(File());
        if (HasFailure()) {
            FAIL() << "file " << file;
        }
    }
}

TEST_F(SettingsStoreTest, AFileTooLargeToReadWholeIsNeitherReadNorCutDown) {
    std::string bytes = "[Settings]\nEarly=1\n";
    while (bytes.size() < (5u << 20)) {
        bytes += "; filler filler filler filler filler filler filler filler filler filler\n";
    }
    bytes += "Late=2\n" + std::string(1u << 20, 'z');
    Put(File(), bytes);
    FileSettingsStore store(File(), kApp);
    // Reading only the start and writing that back would lose whatever stands after it.
    EXPECT_TRUE(store.Values(kApp, "Settings").empty());
    store.SaveSetting(kApp, "Settings", "Probe", "1");
    store.Flush();
    EXPECT_EQ(Contents(File()), bytes);
    EXPECT_EQ(store.Refusal(), File().string() + " is larger than 4 MiB");
}

TEST_F(SettingsStoreTest, ForeignLinesSurviveInPlace) {
    Put(File(),
        "; written by hand\r\n# another comment\n\n[Window]\nLeft=10\n\n[Settings]\nSound=1\n"
        "Unknown=keep me\nSound=stale\n[Window]\nTop=20\n");
    FileSettingsStore store(File(), kApp);
    store.SaveSetting(kApp, "Settings", "Sound", "0");
    store.SaveSetting(kApp, "Settings", "HighScore1", " 1500");
    store.SaveSetting(kApp, "Window", "Top", "30");
    store.SaveSetting(kApp, "Window", "Width", "640");
    store.SaveSetting(kApp, "Extra", "X", "y");
    store.Flush();
    EXPECT_EQ(Contents(File()),
              "; written by hand\n# another comment\n\n[Window]\nLeft=10\n\n[Settings]\nSound=0\n"
              "Unknown=keep me\nHighScore1=\" 1500\"\n[Window]\nTop=30\nWidth=640\n\n[Extra]\nX=y\n");
}

TEST_F(SettingsStoreTest, NothingSavedMeansNothingWritten) {
    const std::string handWritten = "[Settings]\r\nSound=1\r\n";
    Put(File(), handWritten);
    FileSettingsStore untouched(File(), kApp);
    untouched.Flush();
    EXPECT_EQ(Contents(File()), handWritten);
    EXPECT_EQ(untouched.Refusal(), "");
    FileSettingsStore(folder_ / "absent" / "settings.ini", kApp).Flush();
    EXPECT_FALSE(fs::exists(folder_ / "absent"));
}

TEST_F(SettingsStoreTest, AFailedSaveLeavesEverythingAsItWas) {
    Put(folder_ / "blocker", "a file where a folder should be");
    FileSettingsStore underFile(folder_ / "blocker" / "settings.ini", kApp);
    underFile.SaveSetting(kApp, "Settings", "Sound", "0");
    EXPECT_NO_THROW(underFile.Flush());
    EXPECT_EQ(Contents(folder_ / "blocker"), "a file where a folder should be");
    EXPECT_EQ(underFile.Refusal(),
              (folder_ / "blocker" / "settings.ini").string() + " cannot be read: Not a directory");

    // A folder in the file's place cannot be renamed over; the temporary file must not linger.
    Put(File() / "keep", "old");
    FileSettingsStore overFolder(File(), kApp);
    overFolder.SaveSetting(kApp, "Settings", "Sound", "0");
    EXPECT_NO_THROW(overFolder.Flush());
    EXPECT_EQ(Contents(File() / "keep"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(File().parent_path()), fs::directory_iterator()), 1);
    EXPECT_EQ(overFolder.GetSetting(kApp, "Settings", "Sound", ""), "0");
    EXPECT_EQ(overFolder.Refusal(), File().string() + " is not a regular file");
}

TEST_F(SettingsStoreTest, ServesOnlyItsOwnApplication) {
    FileSettingsStore store(fs::path(), kApp);  // no home folder: memory only
    store.SaveSetting("Other", "Settings", "Sound", "0");
    store.SaveSetting(kApp, "Settings", "Sound", "1");
    EXPECT_EQ(store.GetSetting("Other", "Settings", "Sound", "none"), "none");
    EXPECT_TRUE(store.Values("Other", "Settings").empty());
    EXPECT_EQ(store.GetSetting("quibbix", "Settings", "Sound", "none"), "1");
    EXPECT_NO_THROW(store.Flush());
}

using Table = std::vector<std::pair<std::string, int>>;

// As the game saves: the sound and all ten ranks, empty ones too.
void SaveTable(SettingsStore& store, const Table& table) {
    store.SaveSetting(kApp, "Settings", "Sound", "0");
    for (std::size_t rank = 0; rank < 10; ++rank) {
        const std::string n = std::to_string(rank + 1);
        store.SaveSetting(kApp, "Settings", "HighScoreName" + n,
                          rank < table.size() ? table[rank].first : "");
        const int score = rank < table.size() ? table[rank].second : 0;
        store.SaveSetting(kApp, "Settings", "HighScore" + n, std::to_string(score).insert(0, 1, ' '));
    }
}

Table TableIn(const SettingsStore& store) {
    Table table;
    for (int rank = 1; rank <= 10; ++rank) {
        const std::string n = std::to_string(rank);
        if (std::string name = store.GetSetting(kApp, "Settings", "HighScoreName" + n, ""); !name.empty()) {
            table.emplace_back(name, std::stoi(store.GetSetting(kApp, "Settings", "HighScore" + n, "0")));
        }
    }
    return table;
}

TEST_F(SettingsStoreTest, ASaveRanksItsNewEntriesIntoWhatAnotherCopyWroteMeanwhile) {
    struct Case {
        const char* what;
        Table start, theirs, ours, merged;
    };
    const Table full = {{"A", 1000}, {"B", 900}, {"C", 800}, {"D", 700}, {"E", 600},
                        {"F", 500},  {"G", 400}, {"H", 300}, {"I", 200}, {"J", 100}};
    const Case cases[] = {
        {"their new entry", {{"A", 500}}, {{"B", 900}, {"A", 500}}, {{"A", 500}}, {{"B", 900}, {"A", 500}}},
        {"both add",
         {{"A", 500}},
         {{"B", 900}, {"A", 500}},
         {{"C", 700}, {"A", 500}},
         {{"B", 900}, {"C", 700}, {"A", 500}}},
        {"equal scores: ours goes above",
         {},
         {{"B", 700}},
         {{"C", 700}, {"D", 0}},
         {{"C", 700}, {"B", 700}, {"D", 0}}},
        {"a full table",
         {},
         full,
         {{"K", 550}, {"L", 50}},
         {{"A", 1000},
          {"B", 900},
          {"C", 800},
          {"D", 700},
          {"E", 600},
          {"K", 550},
          {"F", 500},
          {"G", 400},
          {"H", 300},
          {"I", 200}}},
    };
    for (const Case& c : cases) {
        Put(File(), "[Settings]\nSound=0\n");
        FileSettingsStore(File(), kApp).Flush();
        FileSettingsStore seed(File(), kApp);
        SaveTable(seed, c.start);
        seed.Flush();
        FileSettingsStore ours(File(), kApp);
        ours.KeepRanked(
            {.section = "Settings", .nameKey = "HighScoreName", .scoreKey = "HighScore", .ranks = 10});
        {
            FileSettingsStore theirs(File(), kApp);
            SaveTable(theirs, c.theirs);
            theirs.SaveSetting(kApp, "Settings", "Sound", "1");
            theirs.Flush();
        }
        Put(File(), Contents(File()) + "; by hand\n");
        SaveTable(ours, c.ours);
        ours.Flush();
        const FileSettingsStore after(File(), kApp);
        EXPECT_EQ(TableIn(after), c.merged) << c.what;
        EXPECT_EQ(after.GetSetting(kApp, "Settings", "Sound", ""), "1") << c.what << ": we never changed it";
        EXPECT_TRUE(Contents(File()).ends_with("; by hand\n")) << c.what;
    }

    // A file that can no longer be read whole is left alone.
    FileSettingsStore ours(File(), kApp);
    SaveTable(ours, {{"Z", 5}});
    fs::remove(File());
    ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);
    ours.Flush();
    EXPECT_TRUE(fs::is_fifo(File()));
    EXPECT_EQ(ours.Refusal(), File().string() + " is not a regular file");
}

TEST(SettingsDefaultPath, FollowsTheXdgRules) {
    const auto pathWith = [](const std::map<std::string, std::string>& env) {
        return FileSettingsStore::DefaultPath(kApp, [&env](const char* name) -> const char* {
            const auto found = env.find(name);
            return found == env.end() ? nullptr : found->second.c_str();
        });
    };
    const fs::path fromHome = "/home/player/.config/Quibbix/settings.ini";
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/player"}}), "/cfg/Quibbix/settings.ini");
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/player"}}), fromHome);
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/player"}}), fromHome);
    EXPECT_EQ(pathWith({{"HOME", "/home/player"}}), fromHome);
    // Without a usable HOME the user database decides; either way the result is never relative.
    const fs::path fallback = pathWith({{"HOME", "relative"}});
    EXPECT_TRUE(fallback.empty() ||
                (fallback.is_absolute() && fallback.string().ends_with("/.config/Quibbix/settings.ini")))
        << fallback;
}

}  // namespace
}  // namespace quibbix

namespace quibbix {
namespace {

TEST_F(SettingsStoreTest, ALineTheGameDoesNotWriteComesBackByteForByte) {
    // A stray carriage return before a line's end belongs to the value and must survive saves.
    Put(File(), "[Settings]\nOther=abc\r\r\nSound=0\r\r\n");
    for (int save = 0; save < 3; ++save) {
        FileSettingsStore store(File(), kApp);
        EXPECT_EQ(store.GetSetting(kApp, "Settings", "Other", ""), "abc\r");
        store.SaveSetting(kApp, "Settings", "Sound", "1");
        store.Flush();
    }
    EXPECT_EQ(FileSettingsStore(File(), kApp).GetSetting(kApp, "Settings", "Other", ""), "abc\r");
}

}  // namespace
}  // namespace quibbix
