#pragma once

namespace quibbix {

// The unit a picture surface draws in and reports pointer positions in.
enum class ScaleMode { Twips, Pixels };

}  // namespace quibbix
