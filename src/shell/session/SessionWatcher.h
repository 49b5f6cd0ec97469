#pragma once
#include <functional>
#include <string_view>
#include <thread>

#include "shell/platform/UniqueFd.h"

namespace quibbix {

// The signals that end a session the way the desktop ends it: kill, a closed terminal, Ctrl+C.
// Blocks them in the calling thread, so every thread started afterwards inherits the mask and
// none of them is ever interrupted; the watcher reads them instead. SIGPIPE is ignored. Call it
// before any thread starts.
void BlockEndingSignals();

// A thread that sleeps in poll() until one of the ending signals arrives or a later copy of the
// game knocks on the listening socket, and reports either through a callback. It never wakes
// otherwise, so an idle game stays idle. The callbacks run on the watcher's thread: they should
// only hand the news over to the event thread.
class SessionWatcher {
public:
    struct Callbacks {
        std::function<void(int signal)> ended;
        // A later copy knocked, with the note it brought (see Knock.h).
        std::function<void(std::string_view note)> summoned;
    };

    // `listener` is the listening socket of the single-instance guard; it may be empty. Reading
    // signals needs BlockEndingSignals to have run first.
    SessionWatcher(UniqueFd listener, Callbacks callbacks);
    ~SessionWatcher();
    SessionWatcher(const SessionWatcher&) = delete;
    SessionWatcher& operator=(const SessionWatcher&) = delete;

private:
    void Watch();
    bool Accept();

    UniqueFd signals_;
    UniqueFd listener_;
    UniqueFd stop_;
    Callbacks callbacks_;
    std::thread thread_;
};

}  // namespace quibbix
