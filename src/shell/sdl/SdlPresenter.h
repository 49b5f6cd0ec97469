#pragma once
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/Form.h"
#include "shell/platform/Viewport.h"

struct SDL_Window;

namespace quibbix {

// Puts the form's face into the window. Three ways exist: on X11 through memory the game shares
// with the X server alone (SdlX11Presenter); elsewhere into the window surface SDL keeps in memory
// (SdlSurfacePresenter), or through a renderer and one streaming texture where SDL offers no window
// surface (Wayland, SdlTexturePresenter).
class SdlPresenter {
public:
    virtual ~SdlPresenter() = default;

    // Paints the areas of the form that changed (all of it, and the border around it, with
    // `everything`) and puts them on screen through the viewport. False when the window system
    // refused; Error() then says why.
    virtual bool Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                         const Viewport& view) = 0;
    // The size of what is drawn, in screen pixels.
    virtual SizePx OutputSize() const = 0;
    const std::string& Error() const { return error_; }

protected:
    bool Fail(std::string what);

private:
    std::string error_;
};

// The presenter for the window's system, chosen in SdlPresenterChoice.cpp: the game's own shared
// memory on X11, else the window surface when SDL gives one, else a renderer; null with the reason
// in `error` when none can be had.
std::unique_ptr<SdlPresenter> MakePresenter(SDL_Window* window, std::string& error);

}  // namespace quibbix
