#include "shell/platform/Form.h"

#include "shell/platform/Geometry.h"

namespace quibbix {

Form::Form(std::string name, WindowBackend& backend, int widthPx, int heightPx)
    : name_(std::move(name)), backend_(backend), widthPx_(widthPx), heightPx_(heightPx) {
    dirty_.Add(Bounds());
}

void Form::Add(Control& control) {
    control.form_ = this;
    controls_.push_back(&control);
    Invalidate(control.Bounds());
}

Control* Form::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if ((*it)->Visible() && (*it)->Bounds().Contains(x, y)) {
            return *it;
        }
    }
    return nullptr;
}

void Form::SetPicture(PictureRef picture) {
    picture_ = std::move(picture);
    Invalidate(Bounds());
}

void Form::SetBackColor(std::uint32_t color) {
    backColor_ = FromColorRef(color);
    Invalidate(Bounds());
}

void Form::SetWindowState(int state) {
    if (state == 1) {
        backend_.Minimize();
    } else {
        backend_.Restore();
    }
    WindowStateChanged(state);
}

void Form::SetBorderStyle(int style) {
    borderStyle_ = style;
    if (style == 0) {
        backend_.SetBorderless();
    }
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    backend_.SetTitle(caption_);
}

void Form::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    TrackCursor(pointerX_, pointerY_);
}

void Form::SetFocus(Control& control) {
    focus_ = &control;
    backend_.WantKeys(static_cast<bool>(control.KeyPress));
}

void Form::SendMessageA(int message, int wParam, int /*lParam*/) {
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
        ++drags_;
        backend_.BeginDrag();
    }
}

Control* Form::Target(int x, int y) const {
    return capture_ != nullptr ? capture_ : ControlAt(x, y);
}

void Form::PointerMoved(int x, int y, std::int16_t buttons) {
    TrackCursor(x, y);
    if (Control* target = Target(x, y)) {
        if (target->MouseMove) {
            target->MouseMove(buttons, ShiftState(), target->ScaleX(x), target->ScaleY(y));
        }
    } else if (MouseMove) {
        MouseMove(buttons, ShiftState(), static_cast<float>(PixelsToTwips(x)),
                  static_cast<float>(PixelsToTwips(y)));
    }
}

void Form::ButtonPressed(int x, int y, std::int16_t button) {
    TrackCursor(x, y);
    if (Control* target = ControlAt(x, y)) {
        capture_ = target;
        if (target->MouseDown) {
            target->MouseDown(button, ShiftState(), target->ScaleX(x), target->ScaleY(y));
        }
    } else if (MouseDown) {
        MouseDown(button, ShiftState(), static_cast<float>(PixelsToTwips(x)),
                  static_cast<float>(PixelsToTwips(y)));
    }
}

void Form::ButtonReleased(int x, int y, std::int16_t button) {
    TrackCursor(x, y);
    Control* target = capture_;
    capture_ = nullptr;
    if (target == nullptr) {
        return;
    }
    if (target->MouseUp) {
        target->MouseUp(button, ShiftState(), target->ScaleX(x), target->ScaleY(y));
    }
    // A click is a left press and release on the same control, still visible under the pointer.
    if (button == kLeftButton && target->Visible() && target->Bounds().Contains(x, y) && target->Click) {
        target->Click();
    }
}

void Form::KeyPressed(std::int16_t key) {
    if (focus_ != nullptr && focus_->KeyPress) {
        focus_->KeyPress(key);
    }
}

void Form::WindowStateChanged(int state) {
    if (state == windowState_) {
        return;
    }
    windowState_ = state;
    if (state == 0) {
        Invalidate(Bounds());
    }
    if (Resize) {
        Resize();
    }
}

void Form::CloseRequested() {
    if (Unload) {
        Unload();
    }
}

CursorShape Form::CursorAt(int x, int y) const {
    if (mousePointer_ == kHourglassPointer) {
        return CursorShape::Busy;
    }
    const Control* over = Target(x, y);
    return over != nullptr && over->Hand() ? CursorShape::Hand : CursorShape::Arrow;
}

void Form::TrackCursor(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
    const CursorShape shape = CursorAt(x, y);
    if (shape != cursor_) {
        cursor_ = shape;
        backend_.SetCursor(shape);
    }
}

void Form::ControlChanged(const Control& control, RectPx before) {
    Invalidate(before);
    Invalidate(control.Bounds());
    if (!control.Visible()) {
        // A hidden control neither keeps the keyboard nor the mouse.
        if (focus_ == &control) {
            focus_ = nullptr;
            backend_.WantKeys(false);
        }
        if (capture_ == &control) {
            capture_ = nullptr;
        }
    }
    // The pointer may now be over something else.
    if (pointerX_ >= 0) {
        TrackCursor(pointerX_, pointerY_);
    }
}

}  // namespace quibbix
