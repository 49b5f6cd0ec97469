#include "scenario/Json.h"

#include <charconv>
#include <cmath>

#include "shell/platform/DecimalText.h"

namespace quibbix {

const Json* Json::Find(std::string_view key) const {
    if (const auto* object = std::get_if<Object>(&value_)) {
        for (const auto& [name, value] : *object) {
            if (name == key) {
                return &value;
            }
        }
        return nullptr;
    }
    if (const auto* array = std::get_if<Array>(&value_)) {
        std::size_t index = 0;
        const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), index);
        if (error == std::errc{} && end == key.data() + key.size() && index < array->size()) {
            return &(*array)[index];
        }
    }
    return nullptr;
}

std::size_t Json::Size() const {
    if (const auto* object = std::get_if<Object>(&value_)) {
        return object->size();
    }
    if (const auto* array = std::get_if<Array>(&value_)) {
        return array->size();
    }
    return 0;
}

std::string Json::Text() const {
    std::string out;
    Write(out);
    return out;
}

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void Json::Write(std::string& out) const {
    struct Writer {
        std::string& out;
        void operator()(std::nullptr_t) const { out += "null"; }
        void operator()(bool value) const { out += value ? "true" : "false"; }
        void operator()(std::int64_t value) const { out += std::to_string(value); }
        void operator()(double value) const {
            if (!std::isfinite(value)) {
                out += "null";
                return;
            }
            out += ShortestDecimal(value);
        }
        void operator()(const std::string& value) const { out += JsonQuote(value); }
        void operator()(const Array& array) const {
            out += '[';
            for (std::size_t i = 0; i < array.size(); ++i) {
                if (i > 0) {
                    out += ',';
                }
                array[i].Write(out);
            }
            out += ']';
        }
        void operator()(const Object& object) const {
            out += '{';
            for (std::size_t i = 0; i < object.size(); ++i) {
                if (i > 0) {
                    out += ',';
                }
                out += JsonQuote(object[i].first);
                out += ':';
                object[i].second.Write(out);
            }
            out += '}';
        }
    };
    std::visit(Writer{out}, value_);
}

}  // namespace quibbix
