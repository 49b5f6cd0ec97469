#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/Form.h"
#include "shell/platform/Image.h"
#include "shell/platform/WindowBackend.h"
#include "shell/sdl/SdlCursors.h"
#include "shell/sdl/SdlHandles.h"
#include "shell/sdl/SdlSubsystem.h"

namespace quibbix {

// The game's one window on the desktop: borderless, centred, drawn from a frame kept in memory
// that holds what the form looks like.
class SdlWindow final : public WindowBackend {
public:
    // Opens the window, hidden until Show. Null when there is no display to open it on.
    static std::unique_ptr<SdlWindow> Open(const std::string& title, int width, int height);

    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;
    ~SdlWindow() override;

    // The form whose face the window shows. The form is made with the window as its backend, so
    // it can only be attached once both exist.
    void Attach(Form& form);
    // Puts the window on screen with the form as it stands.
    void Show();
    bool Ended() const { return ended_; }
    // For the parts of the backend that talk to SDL about this window directly.
    SDL_Window* Native() const { return window_.get(); }

    // Paints the part of the form that changed and puts it on screen.
    void PresentChanges();
    // Puts the whole frame on screen: the window system may have lost what was there.
    void PresentAll();

    // The event loop tells the window which button (SDL numbering, 0 for none) is going down
    // while the form handles the press: a drag started then follows that button.
    void SetPressingButton(std::uint8_t button) { pressing_ = button; }
    bool Dragging() const { return dragButton_ != 0; }
    // Moves the window by as much as the pointer moved since the drag began.
    void FollowPointer();
    // True when the released button ends the drag.
    bool EndsDrag(std::uint8_t button);

    void Minimize() override;
    void Restore() override;
    void SetBorderless() override;
    void SetTitle(const std::string& title) override;
    void Repaint() override { PresentChanges(); }
    void BeginDrag() override;
    void SetCursor(CursorShape shape) override;
    void WantKeys(bool wanted) override;
    void EndProgram() override { ended_ = true; }

private:
    SdlWindow(SdlSubsystem video, WindowPtr window);

    // Paints what changed into the frame; returns that area.
    std::vector<RectPx> Compose();
    void Blit(const std::vector<RectPx>& areas);
    void CopyToSurface(RectPx area, SDL_Surface& surface) const;

    // Declared first so that it goes last: SDL must outlive the window and the cursors.
    SdlSubsystem video_;
    WindowPtr window_;
    SdlCursors cursors_;
    Form* form_ = nullptr;
    Image frame_;
    bool shown_ = false;
    bool ended_ = false;

    std::uint8_t pressing_ = 0;
    std::uint8_t dragButton_ = 0;
    int grabX_ = 0;  // where the pointer was on the screen when the drag began
    int grabY_ = 0;
    int startX_ = 0;  // and where the window was
    int startY_ = 0;
    int movedX_ = 0;  // where it was last put
    int movedY_ = 0;
};

}  // namespace quibbix
