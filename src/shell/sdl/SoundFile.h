#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/sdl/FileIdentity.h"

namespace quibbix {

// Sound files larger than this are refused: no sound effect needs more, and reading one must
// never hold up a tick or fill the memory.
inline constexpr std::int64_t kMaxSoundFileBytes = 16 * 1024 * 1024;

// The identity of a regular file of at most kMaxSoundFileBytes; nothing for anything else (a
// missing file, a folder, a pipe, a device, a file too large). Never opens the file.
std::optional<FileIdentity> LookAtSoundFile(const std::string& path);

// The bytes of that file, provided it is still the file with that identity. Opened without
// waiting on anything, so a pipe or a device slipped in since the look cannot hold the game up.
std::optional<std::vector<std::uint8_t>> ReadSoundFile(const std::string& path, const FileIdentity& expected);

}  // namespace quibbix
