#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "shell/platform/KeysBySection.h"
#include "shell/platform/MemorySettingsStore.h"
#include "shell/platform/RankedTable.h"

namespace quibbix {

// What a save writes when another copy changed the file since this one read (or last wrote) it:
// `base` holds the values this copy started from, `ours` its values now and `theirs` the file as
// it is now. Returns the value to write for each key of `saved`, to which the table's keys are
// added:
//  - a setting this copy did not change keeps the file's value;
//  - the entries this copy added to the table are ranked into the file's table as a finished game
//    enters it (a score equal to one there goes above it), and the top `ranks` are kept.
MemorySettingsStore MergeSaved(std::string_view app, const MemorySettingsStore& base,
                               const MemorySettingsStore& ours, const MemorySettingsStore& theirs,
                               KeysBySection& saved, const std::optional<RankedTable>& table);

}  // namespace quibbix
