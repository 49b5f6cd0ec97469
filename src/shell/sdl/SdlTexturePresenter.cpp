#include "shell/sdl/SdlTexturePresenter.h"

#include <SDL.h>

#include "shell/platform/Compositor.h"

namespace quibbix {

void SdlTexturePresenter::Deleter::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}

void SdlTexturePresenter::Deleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

std::unique_ptr<SdlTexturePresenter> SdlTexturePresenter::Make(SDL_Window* window, std::string& error) {
    RendererPtr renderer(SDL_CreateRenderer(window, -1, 0));
    if (!renderer) {
        error = SDL_GetError();
        return nullptr;
    }
    return std::unique_ptr<SdlTexturePresenter>(new SdlTexturePresenter(std::move(renderer)));
}

SdlTexturePresenter::~SdlTexturePresenter() = default;

SizePx SdlTexturePresenter::OutputSize() const {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_.get(), &width, &height);
    return {width, height};
}

bool SdlTexturePresenter::Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                                  const Viewport& view) {
    const RectPx bounds = form.Bounds();
    if (!texture_) {
        texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, bounds.Width(), bounds.Height()));
        if (!texture_) {
            return Fail(SDL_GetError());
        }
        SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
        frame_ = Image(bounds.Width(), bounds.Height());
        everything = true;
    }
    if (!everything && areas.empty()) {
        return true;
    }
    const std::vector<RectPx> changed = everything ? std::vector<RectPx>{bounds} : areas;
    const int pitch = frame_.Width() * static_cast<int>(sizeof(Argb));
    for (RectPx area : changed) {
        area = Intersect(area, bounds);
        if (area.Empty()) {
            continue;
        }
        Compose(form, frame_, area);
        const SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
        if (SDL_UpdateTexture(texture_.get(), &rect, frame_.Row(area.top) + area.left, pitch) != 0) {
            return Fail(SDL_GetError());
        }
    }
    // What a renderer showed before is gone after it presents: every present draws the whole window.
    const RectPx screen = view.ToScreen(bounds);
    const SDL_Rect target{screen.left, screen.top, screen.Width(), screen.Height()};
    if (SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer_.get()) != 0 ||
        SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &target) != 0) {
        return Fail(SDL_GetError());
    }
    SDL_RenderPresent(renderer_.get());
    return true;
}

}  // namespace quibbix
