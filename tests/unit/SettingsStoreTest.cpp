// The settings file as text: what is read from it, what a save writes, and how a save merges the
// table with what another copy wrote meanwhile.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "game/Arithmetic.h"
#include "shell/SettingsText.h"
#include "shell/platform/FileSettingsStore.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;
using Section = std::map<std::string, std::string>;
using namespace std::string_literals;

constexpr std::string_view kApp = "Quibbix";

class SettingsStoreTest : public ::testing::Test, protected TempFolder {};

TEST_F(SettingsStoreTest, AwkwardValuesComeBackExactlyAcrossTwoGenerations) {
    std::string everyByte(256, '\0'), long100k;
    std::iota(everyByte.begin(), everyByte.end(), '\0');
    while (long100k.size() < 100 * 1024) {
        long100k += everyByte.substr(' ', 95);  // every printable character, quotes and backslashes too
    }
    // clang-format off
    const std::vector<std::string> values = {" 1500", "Plain value", "", " ", "\t", "  both ends  ", "a=b=c",
        ";not a comment", "#nor this", "[Not a section]", "\"quoted\"", "\"open", "\"", "back\\slash", "ends in \\",
        "\\x41\\n", "line\nbreak", "\r\n", "\rcr", "tab\tinside", "nul\0byte"s, "\x01\x1f\x7f\x1b[0m", "Grüße, 🎲",
        everyByte, long100k};
    // clang-format on
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
        const std::string key = "K" + std::to_string(i);
        second.SaveSetting(kApp, "Settings", key, second.GetSetting(kApp, "Settings", key, "missing"));
    }
    second.Flush();
    EXPECT_EQ(Contents(File()), text);
    const FileSettingsStore third(File(), kApp);
    EXPECT_EQ(third.Values(kApp, "Settings").size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(third.GetSetting(kApp, "Settings", "K" + std::to_string(i), "missing"), values[i]) << i;
    }
}

TEST_F(SettingsStoreTest, HandWrittenFilesAreReadAsMeant) {
    const struct {
        std::string text;
        Section settings;
    } cases[] = {
        {"[Settings]\nName=a\nNAME=b\n[Other]\nx=1\n[settings]\n name = c \n", {{"Name", "c"}}},
        {"\xEF\xBB\xBF[Settings]\r\nSound=1\r\nName = Ann \r\nScore = \" 1500\"\r\n",
         {{"Sound", "1"}, {"Name", "Ann"}, {"Score", " 1500"}}},
        {"orphan=1\n[Settings]\nA=1\nno equals sign\n=no key\n\tSpaced key =  bare value \t\n"
         "Lost=\"unterminated \\q\\x4\nNul=a\0b\n[Broken\nLeak=1\n[Other]\nLong="s +
             std::string(200000, 'v') + "\n",
         {{"A", "1"}, {"Spaced key", "bare value"}, {"Lost", "unterminated q\x04"}, {"Nul", "a\0b"s}}},
    };
    for (const auto& c : cases) {
        Put(File(), c.text);
        const FileSettingsStore store(File(), kApp);
        EXPECT_EQ(store.Values(kApp, "Settings"), c.settings) << c.text.substr(0, 40);
        EXPECT_EQ(store.GetSetting(kApp, "", "orphan", "none"), "none");
    }
    EXPECT_EQ(FileSettingsStore(File(), kApp).GetSetting(kApp, "Other", "Long", "").size(), 200000u);
}

TEST_F(SettingsStoreTest, NamesIgnoreCaseInEveryStore) {
    MemorySettingsStore memory;
    FileSettingsStore file(File(), kApp);
    FileSettingsStore homeless(fs::path(), kApp);  // no home folder: memory only
    for (SettingsStore* store : std::initializer_list<SettingsStore*>{&memory, &file, &homeless}) {
        store->SaveSetting("Quibbix", "Settings", "HighScore1", "1");
        store->SaveSetting("QUIBBIX", "settings", "HIGHSCORE1", "2");
        EXPECT_EQ(store->GetSetting("quibbix", "SETTINGS", "highscore1", ""), "2");
        EXPECT_EQ(store->Values(kApp, "Settings"), (Section{{"HighScore1", "2"}}));
    }
    EXPECT_NO_THROW(homeless.Flush());
}

TEST_F(SettingsStoreTest, ASaveChangesOnlyItsOwnLinesAndNothingSavedWritesNothing) {
    const std::string foreign =
        "; written by hand\r\n# another comment\n\n[Window]\nLeft=10\n\n[Settings]\nSound=1\n"
        "Unknown=keep me\nSound=stale\nOther=abc\r\r\n[Window]\nTop=20\n";
    Put(File(), foreign);
    FileSettingsStore(File(), kApp).Flush();
    EXPECT_EQ(Contents(File()), foreign);
    FileSettingsStore(Path() / "absent" / "settings.ini", kApp).Flush();
    EXPECT_FALSE(fs::exists(Path() / "absent"));

    for (int save = 0; save < 2; ++save) {
        FileSettingsStore store(File(), kApp);
        // A stray carriage return before a line's end belongs to the value.
        EXPECT_EQ(store.GetSetting(kApp, "Settings", "Other", ""), "abc\r");
        store.SaveSetting(kApp, "Settings", "Sound", "0");
        store.SaveSetting(kApp, "Settings", "HighScore1", " 1500");
        store.SaveSetting(kApp, "Window", "Top", "30");
        store.SaveSetting(kApp, "Window", "Width", "640");
        store.SaveSetting(kApp, "Extra", "X", "y");
        store.Flush();
        EXPECT_EQ(store.Refusal(), "");
        EXPECT_EQ(Contents(File()),
                  "; written by hand\n# another comment\n\n[Window]\nLeft=10\n\n[Settings]\nSound=0\n"
                  "Unknown=keep me\nOther=abc\r\r\nHighScore1=\" 1500\"\n[Window]\nTop=30\nWidth=640\n\n"
                  "[Extra]\nX=y\n");
    }
}

using Table = std::vector<std::pair<std::string, int>>;

// As the game saves: the sound and all ten ranks, empty ones too.
void SaveTable(SettingsStore& store, const Table& table) {
    store.SaveSetting(kApp, "Settings", "Sound", "0");
    for (std::size_t rank = 0; rank < 10; ++rank) {
        const std::string n = std::to_string(rank + 1);
        store.SaveSetting(kApp, "Settings", "HighScoreName" + n,
                          rank < table.size() ? table[rank].first : "");
        store.SaveSetting(kApp, "Settings", "HighScore" + n,
                          ScoreText(rank < table.size() ? table[rank].second : 0));
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
    const Table full = {{"A", 1000}, {"B", 900}, {"C", 800}, {"D", 700}, {"E", 600},
                        {"F", 500},  {"G", 400}, {"H", 300}, {"I", 200}, {"J", 100}};
    Table fullWithK = full;
    fullWithK.insert(fullWithK.begin() + 5, {"K", 550});
    fullWithK.pop_back();
    const struct {
        const char* what;
        Table start, theirs, ours, merged;
    } cases[] = {
        // clang-format off
        {"their new entry", {{"A", 500}}, {{"B", 900}, {"A", 500}}, {{"A", 500}}, {{"B", 900}, {"A", 500}}},
        {"both add", {{"A", 500}}, {{"B", 900}, {"A", 500}}, {{"C", 700}, {"A", 500}},
         {{"B", 900}, {"C", 700}, {"A", 500}}},
        {"equal scores: ours goes above", {}, {{"B", 700}}, {{"C", 700}, {"D", 0}}, {{"C", 700}, {"B", 700}, {"D", 0}}},
        {"a full table", {}, full, {{"K", 550}, {"L", 50}}, fullWithK},
        // clang-format on
    };
    for (const auto& c : cases) {
        Put(File(), "[Settings]\nSound=0\n");
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

TEST(SettingsTextTest, NumbersAreReadUpToTheFirstForeignCharacterAndWrittenWithABlankOrSign) {
    // Blanks are ignored, even inside.
    const std::pair<const char*, double> read[] = {
        {" 1500", 1500}, {"-25", -25}, {"12abc", 12}, {"1 2 3", 123}, {"2.5", 2.5}, {"1e3x", 1000},
        {"1e", 1},       {"3-4", 3},   {"abc", 0},    {"", 0},        {"-", 0},     {".", 0}};
    for (const auto& [text, value] : read) {
        EXPECT_EQ(LeadingNumber(text), value) << text;
    }
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    // clang-format off
    const std::pair<double, std::int32_t> rounded[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {1e12, kMax},
        {-1e12, std::numeric_limits<std::int32_t>::min()}, {LeadingNumber("99999999999999999999999"), kMax},
        {LeadingNumber(std::string(1000, '9')), kMax}};
    // clang-format on
    for (const auto& [value, whole] : rounded) {
        EXPECT_EQ(RoundHalfEven<std::int32_t>(value), whole) << value;
    }
    EXPECT_EQ(RoundHalfEven<std::int16_t>(0.4), 0);
    EXPECT_EQ(RoundHalfEven<std::int16_t>(70000), 32767);
    EXPECT_EQ(ScoreText(1500), " 1500");
    EXPECT_EQ(ScoreText(0), " 0");
    EXPECT_EQ(ScoreText(-5), "-5");
}

}  // namespace
}  // namespace quibbix
