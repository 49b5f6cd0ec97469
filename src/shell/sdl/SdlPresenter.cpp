#include "shell/sdl/SdlPresenter.h"

namespace quibbix {

bool SdlPresenter::Fail(std::string what) {
    error_ = what.empty() ? "the window system refused to show the window" : std::move(what);
    return false;
}

}  // namespace quibbix
