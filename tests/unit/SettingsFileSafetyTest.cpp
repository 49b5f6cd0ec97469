// What a save does to the settings file as a thing on disk: files the game cannot read whole are
// never replaced, and a file that is replaced keeps its identity (links, permission bits).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "shell/platform/FileSettingsStore.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kApp = "Quibbix";
constexpr std::string_view kTable = "[Settings]\nHighScoreName1=ANN\nHighScore1= 1500\n";

// What must not change about a file that is left alone: the same inode, type, size and time.
auto Identity(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return std::tuple(info.st_ino, info.st_mode, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
}

class SettingsFileSafetyTest : public ::testing::Test, protected TempFolder {
protected:
    SettingsFileSafetyTest() { fs::create_directories(File().parent_path()); }
    static mode_t Mode(const fs::path& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }
    static std::set<std::string> Names(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::string SaveATable(std::string_view expectedName = "") const {
        FileSettingsStore store(File(), kApp);
        EXPECT_EQ(store.GetSetting(kApp, "Settings", "HighScoreName1", ""), expectedName);
        store.SaveSetting(kApp, "Settings", "HighScoreName1", "BOB");
        store.Flush();
        return store.Refusal();
    }
};

// Root reads every file, so the refusal of an unreadable one is checked as an ordinary user.
std::string AsOrdinaryUser(const std::function<std::string()>& work, const std::string& expected) {
    if (::geteuid() != 0) {
        return work();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        _exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && work() == expected ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? expected : "not as nobody";
}

TEST_F(SettingsFileSafetyTest, WhatCannotBeReadWholeOrWrittenIsLeftAlone) {
    const auto withMode = [](mode_t mode) {
        return [mode](const fs::path& file) {
            Put(file, kTable);
            ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        };
    };
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* refusal;
        std::string_view tableRead = "";
        bool asOrdinaryUser = false;
    } cases[] = {
        {"a FIFO (opening it must not wait for a writer)",
         [](const fs::path& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }, " is not a regular file"},
        {"a folder",
         [](const fs::path& file) {
             fs::create_directory(file);
             Put(file / "inside", "kept");
         },
         " is not a regular file"},
        {"a link to a device", [](const fs::path& file) { fs::create_symlink("/dev/null", file); },
         " is not a regular file"},
        {"a loop of links", [](const fs::path& file) { fs::create_symlink("settings.ini", file); },
         " cannot be read: Too many levels of symbolic links"},
        {"one byte over 4 MiB",
         [](const fs::path& file) {
             Put(file, std::string(kTable) + std::string((4u << 20) + 1 - kTable.size(), '\n'));
         },
         " is larger than 4 MiB"},
        {"a file the player may not read", withMode(0), " cannot be read: Permission denied", "", true},
        {"a file its owner may not write", withMode(0444), " is read-only", "ANN"},
        {"a file root may read but not write", withMode(0),
         root ? " is read-only" : " cannot be read: Permission denied", root ? "ANN" : ""},
    };
    fs::permissions(Path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(File().parent_path(),
                    fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        std::error_code ignored;
        fs::remove_all(File(), ignored);
        each.make(File());
        const auto before = Identity(File());
        // Only a plain file (never what a link leads to) is made readable to be compared.
        const bool plain = S_ISREG(std::get<1>(before));
        const auto readable = [&](mode_t mode) { return plain && ::chmod(File().c_str(), mode) == 0; };
        const std::string oldBytes = readable(0644) ? Contents(File()) : "";
        readable(std::get<1>(before) & 07777);

        const auto save = [&] { return SaveATable(each.tableRead); };
        const std::string refusal = File().string() + each.refusal;
        EXPECT_EQ(each.asOrdinaryUser ? AsOrdinaryUser(save, refusal) : save(), refusal);
        EXPECT_EQ(Identity(File()), before);
        if (readable(0644)) {
            EXPECT_EQ(Contents(File()), oldBytes);
        } else if (fs::is_directory(File(), ignored)) {
            EXPECT_EQ(Contents(File() / "inside"), "kept");
        }
        EXPECT_EQ(Names(File().parent_path()), std::set<std::string>{"settings.ini"}) << "no temporary file";
    }
}

// A save that brings the file to exactly the 4 MiB the next run still reads is written; a file of
// exactly 4 MiB is read, but a save one byte longer is refused and leaves it as it was.
TEST_F(SettingsFileSafetyTest, TheLimitHoldsToTheByte) {
    for (const std::size_t size : {(4u << 20) - 1, 4u << 20}) {
        std::string text = "[Settings]\nName=A\n;";
        text += std::string(size - text.size() - 1, 'x') + "\n";
        Put(File(), text);
        const auto before = Identity(File());
        FileSettingsStore store(File(), kApp);
        EXPECT_EQ(store.GetSetting(kApp, "Settings", "Name", ""), "A");
        store.SaveSetting(kApp, "Settings", "Name", "AB");
        store.Flush();
        const bool fits = size < (4u << 20);
        EXPECT_EQ(store.Refusal(), fits ? "" : File().string() + " would grow past 4 MiB");
        EXPECT_EQ(FileSettingsStore(File(), kApp).GetSetting(kApp, "Settings", "Name", ""),
                  fits ? "AB" : "A");
        EXPECT_EQ(fs::file_size(File()), 4u << 20);
        if (!fits) {
            EXPECT_EQ(Identity(File()), before);
        }
    }
}

TEST_F(SettingsFileSafetyTest, SavingKeepsThePermissionBitsAndANewFileIsPrivate) {
    EXPECT_EQ(SaveATable(), "");
    EXPECT_EQ(Mode(File()), 0600u);
    for (const mode_t mode : {0644, 0640, 0664}) {
        ASSERT_EQ(::chmod(File().c_str(), mode), 0);
        EXPECT_EQ(SaveATable("BOB"), "");
        EXPECT_EQ(Mode(File()), mode);
    }
}

TEST_F(SettingsFileSafetyTest, ASaveGoesThroughSymbolicLinksToTheirTarget) {
    // The link and its target as a dotfile manager lays them out, with a link on the way.
    const fs::path dotfiles = Path() / "dotfiles";
    fs::create_directories(dotfiles / "quibbix");
    Put(dotfiles / "quibbix" / "settings.ini", kTable);
    ::chmod((dotfiles / "quibbix" / "settings.ini").c_str(), 0644);
    fs::create_directory_symlink("quibbix", dotfiles / "current");
    fs::create_symlink("../dotfiles/current/settings.ini", File());

    EXPECT_EQ(SaveATable("ANN"), "");
    ASSERT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(fs::read_symlink(File()), "../dotfiles/current/settings.ini");
    EXPECT_EQ(Contents(dotfiles / "quibbix" / "settings.ini"),
              "[Settings]\nHighScoreName1=BOB\nHighScore1= 1500\n");
    EXPECT_EQ(Mode(dotfiles / "quibbix" / "settings.ini"), 0644u);
    EXPECT_EQ(Names(dotfiles / "quibbix"), std::set<std::string>{"settings.ini"});
    EXPECT_EQ(Names(File().parent_path()), std::set<std::string>{"settings.ini"});

    // A link whose target is not there yet: the target is made, the link kept.
    fs::remove(File());
    fs::create_symlink(Path() / "elsewhere" / "quibbix.ini", File());
    EXPECT_EQ(SaveATable(), "");
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(Contents(Path() / "elsewhere" / "quibbix.ini"), "[Settings]\nHighScoreName1=BOB\n");
}

TEST_F(SettingsFileSafetyTest, TheNextSaveRemovesWhatAKilledSaveLeftBehind) {
    Put(File(), kTable);
    const std::set<std::string> others = {"settings.ini.tmp.short", "settings.ini.tmp.ab-def",
                                          "other.ini.tmp.Ab12Cd", "settings.ini.bak"};
    for (const auto& name : others) {
        Put(File().parent_path() / name, "not ours");
    }
    Put(File().parent_path() / "settings.ini.tmp.Ab12Cd", "[Settings]\nHalf");
    fs::create_directory(File().parent_path() / "settings.ini.tmp.Folder");

    EXPECT_EQ(SaveATable("ANN"), "");
    std::set<std::string> expected = others;
    expected.insert({"settings.ini", "settings.ini.tmp.Folder"});
    EXPECT_EQ(Names(File().parent_path()), expected);
}

TEST_F(SettingsFileSafetyTest, SomethingInTheWayIsLeftAloneAndAFreedWaySaves) {
    Put(Path() / "blocker", "a file where a folder should be");
    FileSettingsStore underFile(Path() / "blocker" / "settings.ini", kApp);
    underFile.SaveSetting(kApp, "Settings", "Sound", "0");
    underFile.Flush();
    EXPECT_EQ(Contents(Path() / "blocker"), "a file where a folder should be");
    EXPECT_EQ(underFile.Refusal(),
              (Path() / "blocker" / "settings.ini").string() + " cannot be read: Not a directory");

    FileSettingsStore store(File(), kApp);  // no file yet: a new one would be made
    store.SaveSetting(kApp, "Settings", "Sound", "0");
    fs::create_directory(File());
    store.Flush();
    EXPECT_TRUE(fs::is_directory(File()));
    EXPECT_EQ(store.Refusal(), File().string() + " is not a regular file");
    fs::remove(File());
    store.Flush();  // the way is clear again, and the save goes through
    EXPECT_EQ(store.Refusal(), "");
    EXPECT_EQ(Contents(File()), "[Settings]\nSound=0\n");
}

}  // namespace
}  // namespace quibbix
