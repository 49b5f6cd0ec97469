#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace quibbix {

// Why the file at `path`, or the file a symbolic link there leads to, is not to be replaced: it is
// not a regular file, or its owner may not write it (the player's way of saying "leave it alone").
// Empty when it may be replaced, and when nothing is there yet.
std::string WhyLeftAsItIs(const std::filesystem::path& path);

// Makes the folders missing on the way to `folder`, each readable by its owner only: what the game
// keeps there is nobody else's business.
void MakePrivateFolders(const std::filesystem::path& folder);

// Replaces the file with `text` so that a crash or a full disk at any moment leaves either the old
// file or the new one, whole. The file keeps its identity: a symbolic link stays a link and its
// target gets the text, and the permission bits and (where allowed) owner and group are kept. A
// missing file and its folders are created, the file readable by its owner only. A temporary file
// that an interrupted save left beside the target is removed first.
//
// Returns empty on success; otherwise the old file is as it was and the result says why, naming
// `path` ("/home/ann/settings.ini is read-only").
std::string ReplaceAtomically(const std::filesystem::path& path, std::string_view text);

}  // namespace quibbix
