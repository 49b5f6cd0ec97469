#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/platform/KeysBySection.h"

namespace quibbix {

// The file's new text, with valueOf(section, key) the value saved under a key. Every line of the
// old one stays where it was but the saved keys: each is rewritten on its first line in its
// section (later duplicates are dropped), keys new to the file go after the last block of their
// section, and new sections at the end. Names no INI line could carry are left out.
std::string RewriteIni(const std::vector<std::string_view>& lines, const KeysBySection& saved,
                       const std::function<std::string(std::string_view, std::string_view)>& valueOf);

}  // namespace quibbix
