#pragma once
#include <cstdint>
#include <memory>

#include "shell/platform/Picture.h"

namespace quibbix {

// A picture as controls share it.
using PictureRef = std::shared_ptr<const Picture>;

inline std::uintptr_t Handle(const PictureRef& picture) {
    return reinterpret_cast<std::uintptr_t>(picture.get());
}

}  // namespace quibbix
