#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>

#include "shell/platform/UniqueFd.h"
#include "shell/session/SessionWatcher.h"
#include "shell/session/SingleInstance.h"

namespace quibbix {
namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quibbix-session-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

bool HasCaller(const UniqueFd& listener) {
    const UniqueFd caller(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    return static_cast<bool>(caller);
}

// What a copy that crashed leaves behind: a socket file nobody listens on.
void LeaveDeadSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM, 0));
    ASSERT_EQ(::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
}

TEST(SingleInstanceTest, ALaterCopyKnocksOnTheFirstAndStepsBack) {
    const TempFolder folder;
    SingleInstance first(folder.Path() / "made", "quibbix");
    ASSERT_TRUE(first.First());
    const UniqueFd listener = first.TakeListener();
    ASSERT_TRUE(listener);

    const SingleInstance second(folder.Path() / "made", "quibbix");
    EXPECT_FALSE(second.First());
    EXPECT_TRUE(second.Knocked());
    EXPECT_TRUE(HasCaller(listener));
    EXPECT_FALSE(HasCaller(listener));
}

TEST(SingleInstanceTest, TheNextCopyTakesOverFromOneThatIsGone) {
    const TempFolder folder;
    {
        const SingleInstance first(folder.Path(), "quibbix");
        ASSERT_TRUE(first.First());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "quibbix.sock"));
    LeaveDeadSocket(folder.Path() / "quibbix.sock");

    SingleInstance next(folder.Path(), "quibbix");
    ASSERT_TRUE(next.First());
    const UniqueFd listener = next.TakeListener();
    ASSERT_TRUE(listener);
    const SingleInstance later(folder.Path(), "quibbix");
    EXPECT_FALSE(later.First());
    EXPECT_TRUE(HasCaller(listener));
}

TEST(SingleInstanceTest, LivesInTheRuntimeFolderWhenThereIsOne) {
    EXPECT_EQ(SingleInstance::Folder("/run/user/1000", "/home/a/.config/Quibbix"), "/run/user/1000");
    EXPECT_EQ(SingleInstance::Folder(nullptr, "/home/a/.config/Quibbix"), "/home/a/.config/Quibbix");
    EXPECT_EQ(SingleInstance::Folder("", "/home/a/.config/Quibbix"), "/home/a/.config/Quibbix");
    EXPECT_EQ(SingleInstance::Folder("run", "/home/a/.config/Quibbix"), "/home/a/.config/Quibbix");
}

// The ending signals stay blocked for the test and are restored afterwards.
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
    SingleInstance first(folder.Path(), "quibbix");
    ASSERT_TRUE(first.First());
    std::promise<int> signalled;
    std::promise<std::string> summoned;
    int signals = 0;
    {
        const SessionWatcher watcher(
            first.TakeListener(), {.ended =
                                       [&](int signal) {
                                           if (++signals == 1) {
                                               signalled.set_value(signal);
                                           }
                                       },
                                   .summoned = [&](const std::string& token) { summoned.set_value(token); }});
        ::kill(::getpid(), SIGHUP);
        std::future<int> signal = signalled.get_future();
        ASSERT_EQ(signal.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(signal.get(), SIGHUP);

        // The knock brings the launcher's activation token along.
        ::setenv("XDG_ACTIVATION_TOKEN", "launch-1_TIME42", 1);
        const SingleInstance second(folder.Path(), "quibbix");
        ::unsetenv("XDG_ACTIVATION_TOKEN");
        EXPECT_FALSE(second.First());
        std::future<std::string> token = summoned.get_future();
        ASSERT_EQ(token.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(token.get(), "launch-1_TIME42");
    }
    // The watcher is gone: a signal now stays pending instead of reaching a dead callback.
    ::kill(::getpid(), SIGTERM);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGTERM), 1);
    EXPECT_EQ(signals, 1);
    const sigset_t term = [] {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGTERM);
        return set;
    }();
    int taken = 0;
    sigwait(&term, &taken);
}

}  // namespace
}  // namespace quibbix
