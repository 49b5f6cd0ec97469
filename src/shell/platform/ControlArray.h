#pragma once
#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace quibbix {

// A control array: elements named "base(0)", "base(1)", ...
template <typename ControlType, std::size_t N, typename... Args>
std::array<ControlType, N> ControlArray(std::string_view base, Args... args) {
    const auto name = [base](std::size_t index) {
        return std::string(base) + "(" + std::to_string(index) + ")";
    };
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<ControlType, N>{ControlType(name(I), args...)...};
    }
    (std::make_index_sequence<N>{});
}

}  // namespace quibbix
