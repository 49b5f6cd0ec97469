#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <optional>
#include <string>

#include "shell/platform/UniqueFd.h"
#include "shell/session/SessionWatcher.h"
#include "shell/session/SingleInstance.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

TEST(SingleInstanceTest, EveryCopyOfOneSettingsFileTakesOneLock) {
    const TempFolder folder;
    const std::filesystem::path settings = folder.Path() / "made" / "settings.ini";
    std::optional<SingleInstance> first(std::in_place, settings);
    ASSERT_EQ(first->Result(), SingleInstance::Claim::kFirst);
    EXPECT_EQ(std::filesystem::status(settings.parent_path()).permissions(),
              std::filesystem::perms::owner_all);
    const UniqueFd listener = first->TakeListener();
    ASSERT_TRUE(listener);

    // Another spelling of the same folder, as a different HOME or XDG_CONFIG_HOME gives it.
    std::filesystem::create_directory_symlink(folder.Path() / "made", folder.Path() / "link");
    const SingleInstance second(folder.Path() / "link" / "." / "settings.ini");
    ASSERT_EQ(second.Result(), SingleInstance::Claim::kSecond);
    EXPECT_EQ(second.FirstProcess(), ::getpid());
    // Nobody answers: the knock gives up in time.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.Knock("", std::chrono::milliseconds(300)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    first.reset();
    EXPECT_EQ(SingleInstance(settings).Result(), SingleInstance::Claim::kFirst);
}

TEST(SingleInstanceTest, ALinkPlantedAtTheLockIsNeverFollowed) {
    const TempFolder folder;
    std::filesystem::create_symlink(folder.Path() / "target", folder.Path() / "quibbix.lock");
    const SingleInstance copy(folder.Path() / "settings.ini");
    EXPECT_EQ(copy.Result(), SingleInstance::Claim::kUnlocked);
    EXPECT_NE(copy.Trouble().find("quibbix.lock"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "target"));
}

class SessionWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        pthread_sigmask(SIG_SETMASK, nullptr, &saved_);
        BlockEndingSignals();
    }
    void TearDown() override { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

private:
    sigset_t saved_{};
};

TEST_F(SessionWatcherTest, ReportsEachEndingSignalAndEachKnock) {
    const TempFolder folder;
    SingleInstance first(folder.Path() / "settings.ini");
    ASSERT_EQ(first.Result(), SingleInstance::Claim::kFirst);
    std::promise<int> signalled;
    std::promise<std::string> summoned;
    int signals = 0;
    {
        const SessionWatcher watcher(
            first.TakeListener(),
            {.ended = [&](int signal) { ++signals == 1 ? signalled.set_value(signal) : void(); },
             .summoned = [&](std::string_view note) { summoned.set_value(std::string(note)); }});
        ::kill(::getpid(), SIGHUP);
        std::future<int> signal = signalled.get_future();
        ASSERT_EQ(signal.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(signal.get(), SIGHUP);
        EXPECT_TRUE(SingleInstance(folder.Path() / "settings.ini").Knock("token\n", std::chrono::seconds(2)));
        std::future<std::string> note = summoned.get_future();
        ASSERT_EQ(note.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(note.get(), "token");
    }
    // The watcher is gone: a signal now stays pending instead of reaching a dead callback.
    ::kill(::getpid(), SIGTERM);
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    const timespec noWait{};
    EXPECT_EQ(sigtimedwait(&term, nullptr, &noWait), SIGTERM);
    EXPECT_EQ(signals, 1);
}

}  // namespace
}  // namespace quibbix
