#pragma once
#include <map>
#include <string>

#include "shell/platform/AsciiCaseLess.h"
#include "shell/platform/KeySet.h"

namespace quibbix {

// The keys saved in each section.
using KeysBySection = std::map<std::string, KeySet, AsciiCaseLess>;

}  // namespace quibbix
