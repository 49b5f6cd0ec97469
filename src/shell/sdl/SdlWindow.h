#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/Form.h"
#include "shell/platform/SettingsStore.h"
#include "shell/platform/Viewport.h"
#include "shell/platform/WindowBackend.h"
#include "shell/sdl/SdlCursors.h"
#include "shell/sdl/SdlHandles.h"
#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlSubsystem.h"

namespace quibbix {

// The game's one window on the desktop: borderless, centred, showing the form's frame at a whole
// zoom with crisp pixels, or full screen on black.
class SdlWindow final : public WindowBackend {
public:
    // Opens the window, hidden until Show. Null, with the reason in `error`, when there is no
    // display to open it on or no way to draw into it.
    static std::unique_ptr<SdlWindow> Open(const std::string& title, int width, int height,
                                           std::string& error);

    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;
    ~SdlWindow() override;

    // The form whose face the window shows. The form is made with the window as its backend, so
    // it can only be attached once both exist.
    void Attach(Form& form);
    // Sizes the window as the player last chose in the settings, or as the desktop's scale asks;
    // later choices go to the same settings.
    void UseDisplayChoices(SettingsStore& settings, std::string app);
    // Puts the window on screen with the form as it stands.
    void Show();
    bool Ended() const { return ended_; }
    // For the parts of the backend that talk to SDL about this window directly.
    SDL_Window* Native() const { return window_.get(); }
    // Drawing failed: the program ended, and says why on standard error.
    bool Failed() const { return failed_; }

    // Paints the part of the form that changed and puts it on screen.
    void PresentChanges();
    // Puts the whole window on screen: the window system may have lost what was there.
    void PresentAll();
    // The window changed size: the frame is placed anew.
    void SizeChanged();

    // The frame pixel under a point of the window.
    PointPx ToFrame(int x, int y) const { return view_.ToFrame(x, y); }
    // Whether a press of the left button at a point of the window grabs the window, as a title
    // bar would: on the background, never in full screen.
    bool DraggableAt(int x, int y) const;

    // The player's keys for the window's size.
    void ZoomBy(int step);
    void ZoomToDesktop();
    void ToggleFullScreen();
    void LeaveFullScreen();
    bool FullScreen() const { return fullScreen_; }

    // The event loop tells the window which button (SDL numbering, 0 for none) is going down
    // while the form handles the press: a drag started then follows that button.
    void SetPressingButton(std::uint8_t button);
    bool Dragging() const { return dragButton_ != 0; }
    // Moves the window by as much as the pointer moved since the drag began; ends the drag once
    // the button is no longer held, whether or not its release ever arrives.
    void FollowPointer();
    // The window went away under the pointer (minimised, or another window took the keyboard).
    void EndDrag();
    // True when the released button belongs to the drag, which it ends.
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
    SdlWindow(SdlSubsystem video, WindowPtr window, std::unique_ptr<SdlPresenter> presenter);
    // A hidden borderless window of a size, centred; null with the reason in `error`.
    static WindowPtr CreateWindow(const char* title, SizePx size, std::string& error);
    // What the game sets on each window it makes: its icon, and no text input until asked.
    void Dress();
    // Makes the window again at another size before it is first shown. A renderer keeps the buffer
    // it made for the window's first size and shows its first frame in it, so the compositor would
    // place the window for that size and not the one chosen.
    void Reopen(SizePx size);

    SizePx FrameSize() const;
    double PixelScaleNow() const;
    // The largest zoom that fits the usable area of the display, and the desktop's own.
    int LargestWindowZoom() const;
    int DesktopZoom() const;
    // False on Wayland, where only the compositor places windows.
    bool PlacesItself() const;
    // Sets the windowed zoom, keeping the window's centre (or centring it on the display); on
    // Wayland the compositor places the window again.
    void SetZoom(int zoom, bool keepCentre);
    void SetFullScreen(bool on);
    void SaveChoices();
    void PlaceFrame();

    // Declared first so that it goes last: SDL must outlive the window and the cursors.
    SdlSubsystem video_;
    WindowPtr window_;
    std::unique_ptr<SdlPresenter> presenter_;
    SdlCursors cursors_;
    Form* form_ = nullptr;
    SettingsStore* settings_ = nullptr;
    std::string app_;
    bool shown_ = false;
    bool ended_ = false;
    bool failed_ = false;

    Viewport view_;
    int zoom_ = 1;
    int zoomChoice_ = 0;  // what the player chose; 0 follows the desktop
    bool fullScreen_ = false;
    bool everything_ = true;

    std::uint8_t pressing_ = 0;
    std::uint8_t dragButton_ = 0;
    // A drag ended before its button came up: that release is the drag's, not the form's.
    std::uint8_t strayRelease_ = 0;
    int grabX_ = 0;  // where the pointer was on the screen when the drag began
    int grabY_ = 0;
    int startX_ = 0;  // and where the window was
    int startY_ = 0;
    int movedX_ = 0;  // where it was last put
    int movedY_ = 0;
};

}  // namespace quibbix
