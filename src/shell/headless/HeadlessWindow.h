#pragma once
#include <string>

#include "shell/platform/WindowBackend.h"

namespace quibbix {

// A window that exists only as the state the game gave it.
class HeadlessWindow final : public WindowBackend {
public:
    // The form keeps the window state itself; there is no window to change.
    void Minimize() override {}
    void Restore() override {}
    void SetBorderless() override {}
    void SetTitle(const std::string& /*title*/) override {}
    void Repaint() override {}
    void BeginDrag() override {}
    void SetCursor(CursorShape /*shape*/) override {}
    void WantKeys(bool /*wanted*/) override {}
    void EndProgram() override { ended_ = true; }

    bool Ended() const { return ended_; }
    // Where the window stands: centred on a 1024 x 768 screen.
    int ScreenLeft() const { return 185; }
    int ScreenTop() const { return 148; }

private:
    bool ended_ = false;
};

}  // namespace quibbix
