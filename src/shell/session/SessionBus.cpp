#include "shell/session/SessionBus.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace quibbix {

void KeepToTheSessionBus() {
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) {
        return;
    }
    // libdbus finds the per-user bus in the runtime folder by itself; only without one does it
    // fall back to starting a daemon, so only then is the address set.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        struct stat bus {};
        if (::stat((std::string(runtime) + "/bus").c_str(), &bus) == 0 && S_ISSOCK(bus.st_mode)) {
            return;
        }
    }
    // An address no transport accepts: every connection fails at once and nothing is started.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace quibbix
