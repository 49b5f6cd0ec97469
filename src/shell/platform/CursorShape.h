#pragma once

namespace quibbix {

// The pointer shapes the window shows.
enum class CursorShape { Arrow, Hand, Busy };

}  // namespace quibbix
