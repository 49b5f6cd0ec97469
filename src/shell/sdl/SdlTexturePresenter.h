#pragma once
#include <memory>

#include "shell/platform/Image.h"
#include "shell/sdl/SdlPresenter.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace quibbix {

// Draws through an SDL renderer, for window systems where SDL keeps no window surface: the
// changed parts of the frame go into one streaming texture, which the renderer then shows whole,
// enlarged with nearest-neighbour pixels.
class SdlTexturePresenter final : public SdlPresenter {
public:
    // Null, with the reason in `error`, when no renderer can be made for the window.
    static std::unique_ptr<SdlTexturePresenter> Make(SDL_Window* window, std::string& error);
    ~SdlTexturePresenter() override;

    bool Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                 const Viewport& view) override;
    SizePx OutputSize() const override;

private:
    struct Deleter {
        void operator()(SDL_Renderer* renderer) const;
        void operator()(SDL_Texture* texture) const;
    };
    using RendererPtr = std::unique_ptr<SDL_Renderer, Deleter>;
    using TexturePtr = std::unique_ptr<SDL_Texture, Deleter>;

    explicit SdlTexturePresenter(RendererPtr renderer) : renderer_(std::move(renderer)) {}

    // Declared first so that it goes last: the texture belongs to the renderer.
    RendererPtr renderer_;
    TexturePtr texture_;
    Image frame_;
};

}  // namespace quibbix
