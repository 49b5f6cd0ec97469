// The window dragged by its background with the right or middle button, moved by the game itself.
#include <SDL.h>

#include "shell/sdl/SdlWindow.h"

namespace quibbix {

void SdlWindow::SetPressingButton(std::uint8_t button, int x, int y) {
    pressing_ = button;
    pressX_ = x;
    pressY_ = y;
    // A new press of the button a lost drag was waiting for: its release is the form's again.
    if (button != 0 && button == strayRelease_) {
        strayRelease_ = 0;
    }
}

void SdlWindow::BeginDrag() {
    // The form asks for a drag from inside a press; at any other time there is no button to
    // follow. A full screen does not move.
    if (pressing_ == 0 || fullScreen_) {
        return;
    }
    dragButton_ = pressing_;
    // Where the button went down, not where the pointer is by now: on a busy machine the pointer
    // may have gone on before the press is handled.
    SDL_GetWindowPosition(window_.get(), &startX_, &startY_);
    grabX_ = startX_ + pressX_;
    grabY_ = startY_ + pressY_;
    movedX_ = startX_;
    movedY_ = startY_;
}

void SdlWindow::FollowPointer() {
    if (!Dragging()) {
        return;
    }
    int x = 0;
    int y = 0;
    const std::uint32_t buttons = SDL_GetGlobalMouseState(&x, &y);
    MoveWithPointer(x, y);
    // The release may never reach the window (it happened over another one, or while the window
    // was away): the button no longer held ends the drag all the same, where the pointer let go.
    if ((buttons & SDL_BUTTON(dragButton_)) == 0) {
        EndDrag();
    }
}

void SdlWindow::MoveWithPointer(int x, int y) {
    x += startX_ - grabX_;
    y += startY_ - grabY_;
    // Moving a window makes the X11 driver wait for the window manager: only real moves are asked for.
    if (x != movedX_ || y != movedY_) {
        movedX_ = x;
        movedY_ = y;
        SDL_SetWindowPosition(window_.get(), x, y);
    }
}

void SdlWindow::EndDrag() {
    if (dragButton_ != 0) {
        strayRelease_ = dragButton_;
        dragButton_ = 0;
    }
}

bool SdlWindow::EndsDrag(std::uint8_t button) {
    if (button == 0) {
        return false;
    }
    if (button == dragButton_) {
        // The release may come before the moves that led to it were followed.
        int x = 0;
        int y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        MoveWithPointer(x, y);
        dragButton_ = 0;
        return true;
    }
    if (button == strayRelease_) {
        strayRelease_ = 0;
        return true;
    }
    return false;
}

}  // namespace quibbix
