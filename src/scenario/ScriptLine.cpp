#include "scenario/ScriptLine.h"

#include <cstdio>
#include <stdexcept>

namespace quibbix {

std::string Quoted(std::string_view text, std::size_t most) {
    std::string shown;
    for (const char c : text.substr(0, most)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        }
    }
    if (text.size() > most) {
        shown += "...";
    }
    return shown;
}

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (i < line.size()) {
        if (blank(line[i])) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    word += line[i++];
                } else {
                    word += c;
                }
            }
            if (!closed) {
                throw std::invalid_argument("unclosed quote");
            }
        } else {
            while (i < line.size() && !blank(line[i])) {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace quibbix
