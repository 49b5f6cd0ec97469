#pragma once
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "shell/platform/UniqueFd.h"

// The knock of a later copy of the game on the first one. It goes over an abstract Unix socket,
// which needs no file: none goes stale when a copy crashes, none can be planted in its way, and
// no folder is too deep for it. Any local user can reach an abstract name, so each end checks that
// the other runs as the same user.
//
// A knock is one line of at most kMaxKnockNote bytes written by the later copy (empty today; it can
// carry what the desktop hands a program it starts); the first copy answers with "ok\n".
namespace quibbix {

inline constexpr std::size_t kMaxKnockNote = 256;

// Listens on the abstract name; empty when it cannot.
UniqueFd ListenForKnocks(const std::string& name);

// Knocks on the abstract name with `note` (line breaks dropped, cut to kMaxKnockNote) and waits
// for the answer until `deadline`, connecting included. True when the first copy answered.
bool KnockOn(const std::string& name, std::string_view note, std::chrono::steady_clock::time_point deadline);

// On the first copy, for a caller just accepted: its note, read within `patience`, and answered.
// Nothing when the caller runs as another user or gave no whole line in time.
std::optional<std::string> HearKnock(const UniqueFd& caller, std::chrono::milliseconds patience);

}  // namespace quibbix
