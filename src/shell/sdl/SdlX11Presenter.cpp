#include "shell/sdl/SdlX11Presenter.h"

#include "shell/platform/Compositor.h"

namespace quibbix {

namespace {

// The parts of the window that the frame leaves uncovered: bands above and below it, and beside it.
std::vector<RectPx> Around(RectPx frame, SizePx window) {
    const RectPx all{0, 0, window.width, window.height};
    const RectPx inner = Intersect(frame, all);
    if (inner.Empty()) {
        return {all};
    }
    std::vector<RectPx> bands{{0, 0, window.width, inner.top},
                              {0, inner.bottom, window.width, window.height},
                              {0, inner.top, inner.left, inner.bottom},
                              {inner.right, inner.top, window.width, inner.bottom}};
    std::erase_if(bands, [](const RectPx& band) { return band.Empty(); });
    return bands;
}

}  // namespace

bool SdlX11Presenter::Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                              const Viewport& view) {
    const RectPx bounds = form.Bounds();
    const SizePx output = OutputSize();
    const bool plain = view == Viewport{} && output == SizePx{bounds.Width(), bounds.Height()};
    if (!plain && !scaler_ && !scalerRefused_) {
        scaler_ = X11Scaler::Make(window_, {bounds.Width(), bounds.Height()});
        scalerRefused_ = !scaler_;
    }
    const bool scaled = !plain && scaler_ != nullptr;
    everything = everything || scaled != lastScaled_ || view != lastView_ || output != lastOutput_;
    lastScaled_ = scaled;
    lastView_ = view;
    lastOutput_ = output;
    if (!scaled) {
        return surface_->Present(form, areas, everything, view);
    }
    return PresentScaled(form, areas, everything, view);
}

bool SdlX11Presenter::PresentScaled(const Form& form, const std::vector<RectPx>& areas, bool everything,
                                    const Viewport& view) {
    const RectPx bounds = form.Bounds();
    if (everything) {
        for (const RectPx& band : Around(view.ToScreen(bounds), OutputSize())) {
            scaler_->Clear(band);
        }
    }
    for (const RectPx& area : everything ? std::vector<RectPx>{bounds} : areas) {
        Compose(form, scaler_->Frame(), area);
        scaler_->Show(area, view);
    }
    // The next frame is composed into memory the server reads: it must have read it by then.
    if (!scaler_->Finish()) {
        return Fail("the X server went away");
    }
    return true;
}

}  // namespace quibbix
