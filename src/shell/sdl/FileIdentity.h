#pragma once
#include <cstdint>

namespace quibbix {

// What tells one version of a file from another without reading it: a file replaced, rewritten
// or touched while the game runs gets a new identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

}  // namespace quibbix
