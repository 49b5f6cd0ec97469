#pragma once

namespace quibbix {

// Sends everything written to standard error to /dev/null while it lives. The sound libraries
// complain loudly on machines without a sound card, where playing silently is exactly right.
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;  // the real standard error, -1 when it could not be set aside
};

}  // namespace quibbix
