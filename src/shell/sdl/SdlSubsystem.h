#pragma once
#include <cstdint>

namespace quibbix {

// Keeps SDL subsystems running for as long as it lives. The last one to go shuts SDL down, so
// the window and the sound may be torn down in any order.
class SdlSubsystem {
public:
    // Starts the subsystems (SDL_INIT_* flags); Ok tells whether they came up.
    explicit SdlSubsystem(std::uint32_t flags);
    ~SdlSubsystem();
    SdlSubsystem(SdlSubsystem&& other) noexcept;
    SdlSubsystem(const SdlSubsystem&) = delete;
    SdlSubsystem& operator=(const SdlSubsystem&) = delete;
    SdlSubsystem& operator=(SdlSubsystem&&) = delete;

    bool Ok() const { return flags_ != 0; }

private:
    std::uint32_t flags_;
};

}  // namespace quibbix
