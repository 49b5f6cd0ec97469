#pragma once
#include <cstddef>
#include <filesystem>
#include <string>

namespace quibbix {

// A file read whole, or the reason it was not.
struct WholeFile {
    std::string text;
    // Empty when the file was read whole or is missing; otherwise a sentence naming the file, such
    // as "/home/ann/settings.ini is not a regular file". The text is then empty too: a part of a
    // file is never handed out.
    std::string refusal;
};

// Reads a regular file of at most maxBytes. Anything else (no permission, an I/O error, a FIFO, a
// device, a folder, a larger file) is refused without waiting on it.
WholeFile ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace quibbix
