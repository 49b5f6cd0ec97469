#include "shell/platform/IniSyntax.h"

#include <algorithm>

namespace quibbix::ini {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr auto kNone = std::string_view::npos;

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

// A line starting with one of these would read back as a comment or a section header.
bool ReadsAsMarkup(std::string_view text) {
    return text.find_first_of(";#[") == 0;
}

// Bare values are what a person editing the file expects to see, so quote only when needed.
bool IsPlain(std::string_view value) {
    return !value.empty() && value == Trim(value) && value.find_first_of("\"\\") == kNone &&
           !HasControl(value) && !ReadsAsMarkup(value);
}

// The characters with a one-letter escape, and their letters, position for position.
constexpr std::string_view kEscaped = "\"\\\n\r\t";
constexpr std::string_view kEscapeLetters = "\"\\nrt";
constexpr std::string_view kHexDigits = "0123456789abcdef";

int HexDigit(char c) {
    const auto at = kHexDigits.find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
    return at == kNone ? -1 : static_cast<int>(at);
}

// Tolerant, because people edit this file: a stray backslash keeps the character after it, and a
// lost closing quote takes the rest of the line.
std::string Unescape(std::string_view quoted) {
    std::string out;
    for (std::size_t i = 0; i < quoted.size() && quoted[i] != '"'; ++i) {
        if (quoted[i] != '\\' || i + 1 == quoted.size()) {
            out += quoted[i];
            continue;
        }
        const char letter = quoted[++i];
        if (letter == 'x') {
            int byte = 0;
            int digits = 0;
            for (; digits < 2 && i + 1 < quoted.size() && HexDigit(quoted[i + 1]) >= 0; ++digits) {
                byte = byte * 16 + HexDigit(quoted[++i]);
            }
            out += digits > 0 ? static_cast<char>(byte) : 'x';
        } else {
            const auto at = kEscapeLetters.find(letter);
            out += at == kNone ? letter : kEscaped[at];
        }
    }
    return out;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == kNone) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

bool IsWritableName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && name == Trim(name) && name.find_first_of(forbidden) == kNone &&
           !HasControl(name) && !ReadsAsMarkup(name);
}

std::string Encode(std::string_view value) {
    if (IsPlain(value)) {
        return std::string(value);
    }
    std::string out = "\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (const auto at = kEscaped.find(c); at != kNone) {
            out += {'\\', kEscapeLetters[at]};
        } else if (IsControl(c)) {
            out += {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
        } else {
            out += c;
        }
    }
    return out += '"';
}

std::string DecodeValue(std::string_view raw) {
    const auto start = raw.find_first_not_of(kBlanks);
    if (start != kNone && raw[start] == '"') {
        return Unescape(raw.substr(start + 1));
    }
    return std::string(Trim(raw));
}

}  // namespace quibbix::ini
