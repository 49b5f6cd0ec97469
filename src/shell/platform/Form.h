#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/platform/Control.h"
#include "shell/platform/DirtyRegion.h"
#include "shell/platform/Geometry.h"
#include "shell/platform/WindowBackend.h"

namespace quibbix {

// Window messages the game sends to start a drag by the background.
inline constexpr int WM_NCLBUTTONDOWN = 0xA1;
inline constexpr int HTCAPTION = 2;

// MousePointer values.
inline constexpr int kDefaultPointer = 0;
inline constexpr int kHourglassPointer = 11;

// A window with its controls. Events arrive one at a time in window pixels and go to the topmost
// visible control under the pointer, else to the window's own background; a press captures the
// mouse for its control until the release.
class Form {
public:
    Form(std::string name, WindowBackend& backend, int widthPx, int heightPx);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    WindowBackend& Backend() const { return backend_; }

    // Adds a control above every control added before it.
    void Add(Control& control);
    const std::vector<Control*>& Controls() const { return controls_; }
    Control* ControlAt(int x, int y) const;

    int Width() const { return PixelsToTwips(widthPx_); }
    int Height() const { return PixelsToTwips(heightPx_); }
    RectPx Bounds() const { return {0, 0, widthPx_, heightPx_}; }

    const PictureRef& Picture() const { return picture_; }
    void SetPicture(PictureRef picture);
    std::uint32_t BackColor() const { return ToColorRef(backColor_); }
    void SetBackColor(std::uint32_t color);

    int WindowState() const { return windowState_; }
    void SetWindowState(int state);
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    void Refresh() { backend_.Repaint(); }

    // Keyboard focus: key presses reach this control.
    Control* ActiveControl() const { return focus_; }
    void SetFocus(Control& control);

    // The drag by the background: no control keeps the mouse, then the title-bar grab.
    void ReleaseCapture() { capture_ = nullptr; }
    void SendMessageA(int message, int wParam, int lParam);
    int DragsStarted() const { return drags_; }

    // Input from the platform, in window pixels.
    void PointerMoved(int x, int y, std::int16_t buttons);
    void ButtonPressed(int x, int y, std::int16_t button);
    void ButtonReleased(int x, int y, std::int16_t button);
    void KeyPressed(std::int16_t key);
    // The platform minimised or restored the window (state 1 or 0); runs the resize event.
    void WindowStateChanged(int state);
    // The window is closed from outside the game.
    void CloseRequested();

    CursorShape CursorAt(int x, int y) const;
    CursorShape Cursor() const { return cursor_; }

    // Window events; an empty handler ignores the event.
    Control::MouseHandler MouseDown;
    Control::MouseHandler MouseMove;
    std::function<void()> Resize;
    std::function<void()> Unload;

    // The parts of the window that changed since the last call.
    std::vector<RectPx> TakeDirty() { return dirty_.Take(); }
    void Invalidate(RectPx area) { dirty_.Add(Intersect(area, Bounds())); }
    void ControlChanged(const Control& control, RectPx before);

private:
    Control* Target(int x, int y) const;
    void TrackCursor(int x, int y);
    std::int16_t ShiftState() const { return 0; }

    std::string name_;
    WindowBackend& backend_;
    int widthPx_;
    int heightPx_;
    std::vector<Control*> controls_;
    PictureRef picture_;
    Argb backColor_ = kOpaqueBlack;
    int windowState_ = 0;
    int borderStyle_ = 0;
    std::string caption_;
    int mousePointer_ = kDefaultPointer;
    Control* focus_ = nullptr;
    Control* capture_ = nullptr;
    int drags_ = 0;
    int pointerX_ = -1;
    int pointerY_ = -1;
    CursorShape cursor_ = CursorShape::Arrow;
    DirtyRegion dirty_;
};

}  // namespace quibbix
