// The game in a web page: the same form and SDL backend as on the desktop, driven one step per
// browser frame. The settings file lives in the page's memory; web/storage.js fills it from the
// browser's storage before the game starts and keeps it there each time the game saves.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>
#include <string>

#include "game/FrmMain.h"
#include "shell/platform/App.h"
#include "shell/platform/FileSettingsStore.h"
#include "shell/platform/Platform.h"
#include "shell/platform/Random.h"
#include "shell/sdl/SdlClock.h"
#include "shell/sdl/SdlEventLoop.h"
#include "shell/sdl/SdlSound.h"
#include "shell/sdl/SdlWindow.h"

namespace {

using namespace quibbix;

constexpr int kFrameWidth = 654;
constexpr int kFrameHeight = 472;
// Where web/storage.js puts the settings text and the sounds in the page's file system.
constexpr const char* kSettingsFile = "/settings/settings.ini";
constexpr const char* kSoundFolder = "/sounds";

App WebApp() {
    App app;
    app.Path = kSoundFolder;
    return app;
}

// Everything the page keeps between frames.
class WebGame {
public:
    explicit WebGame(std::unique_ptr<SdlWindow> window)
        : window_(std::move(window)),
          settings_(kSettingsFile, App{}.Title),
          app_(WebApp()),
          platform_{*window_, clock_, settings_, sound_, random_, app_},
          form_(platform_) {
        window_->Attach(form_);
        form_.Load();
        window_->Show();
    }

    // One browser frame; false once the game has ended, saved.
    bool Frame() {
        if (RunPendingEvents(*window_, form_, form_.Timer1, clock_, sound_)) {
            return true;
        }
        Save();
        return false;
    }

    // A page being hidden or left may never come back: the table is kept now, with the keys and
    // clicks that came before it, such as the Enter that ends a name.
    void Leaving() {
        if (window_->Ended()) {
            return;
        }
        if (!RunPendingEvents(*window_, form_, form_.Timer1, clock_, sound_)) {
            Save();
            return;
        }
        form_.PlayerAway();
        window_->PresentChanges();
        Save();
    }

private:
    void Save() {
        form_.SaveSettings();
        settings_.Flush();
        const std::string refusal = settings_.Refusal();
        EM_ASM({ Module.quibbixSettingsSaved(UTF8ToString($0)); }, refusal.c_str());
    }

    std::unique_ptr<SdlWindow> window_;
    SdlSound sound_;
    const SdlClock clock_;
    Random random_;
    FileSettingsStore settings_;
    App app_;
    Platform platform_;
    FrmMain form_;
};

void Frame(void* game) {
    if (!static_cast<WebGame*>(game)->Frame()) {
        emscripten_cancel_main_loop();
        EM_ASM({ Module.quibbixEnded(); });
    }
}

EM_BOOL VisibilityChanged(int, const EmscriptenVisibilityChangeEvent* event, void* game) {
    if (event->hidden) {
        static_cast<WebGame*>(game)->Leaving();
    }
    return EM_FALSE;
}

const char* Unloading(int, const void*, void* game) {
    static_cast<WebGame*>(game)->Leaving();
    return nullptr;
}

}  // namespace

// A phone may put the page away without hiding it first, or close it without unloading it.
extern "C" EMSCRIPTEN_KEEPALIVE void quibbix_page_hidden(void* game) {
    static_cast<WebGame*>(game)->Leaving();
}

int main() {
    std::string why;
    std::unique_ptr<SdlWindow> window = SdlWindow::Open(App{}.Title, kFrameWidth, kFrameHeight, why);
    if (!window) {
        EM_ASM({ Module.quibbixFailed(UTF8ToString($0)); }, why.c_str());
        return 1;
    }
    // The game lives as long as the page; the browser calls back into it until then.
    auto* game = new WebGame(std::move(window));
    emscripten_set_visibilitychange_callback(game, EM_FALSE, VisibilityChanged);
    emscripten_set_beforeunload_callback(game, Unloading);
    EM_ASM(
        {
            window.addEventListener(
                'pagehide', function() { _quibbix_page_hidden($0); });
        },
        game);
    emscripten_set_main_loop_arg(Frame, game, 0, EM_FALSE);
    return 0;
}
