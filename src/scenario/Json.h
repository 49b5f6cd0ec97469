#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quibbix {

// A JSON value small enough for the dump: built once, written once, looked into by tests.
class Json {
public:
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;  // keeps the order keys were added

    Json() = default;
    Json(std::nullptr_t) {}
    Json(bool value) : value_(value) {}
    Json(std::int64_t value) : value_(value) {}
    Json(int value) : value_(std::int64_t{value}) {}
    Json(double value) : value_(value) {}
    Json(std::string value) : value_(std::move(value)) {}
    Json(const char* value) : value_(std::string(value)) {}
    Json(Array value) : value_(std::move(value)) {}
    Json(Object value) : value_(std::move(value)) {}

    // The member called key of an object, or element `key` of an array; null when missing.
    const Json* Find(std::string_view key) const;
    std::size_t Size() const;
    bool IsString() const { return std::holds_alternative<std::string>(value_); }
    const std::string& String() const { return std::get<std::string>(value_); }

    // Compact JSON text; doubles in their shortest exact form.
    std::string Text() const;

private:
    void Write(std::string& out) const;

    std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, Array, Object> value_ = nullptr;
};

// A string as a JSON string literal.
std::string JsonQuote(std::string_view text);

}  // namespace quibbix
