#include "scenario/ScriptLine.h"

#include <charconv>
#include <cstdio>
#include <istream>
#include <stdexcept>

namespace quibbix {

LineRead ReadScriptLine(std::istream& script, std::string& line) {
    line.clear();
    std::streambuf* in = script.rdbuf();
    if (in == nullptr || !script.good()) {
        return LineRead::End;
    }
    for (;;) {
        const int c = in->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            script.setstate(std::ios::eofbit);
            return line.empty() ? LineRead::End : LineRead::Line;
        }
        if (c == '\n') {
            return LineRead::Line;
        }
        if (line.size() == kMaxLineBytes) {
            return LineRead::TooLong;
        }
        line += static_cast<char>(c);
    }
}

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

IndexedName SplitIndex(std::string_view word) {
    const std::size_t open = word.find('(');
    if (open == std::string_view::npos) {
        return {std::string(word), {}};
    }
    if (word.back() != ')') {
        throw std::invalid_argument("malformed index: " + Quoted(word));
    }
    IndexedName result{std::string(word.substr(0, open)), {}};
    std::string_view inside = word.substr(open + 1, word.size() - open - 2);
    while (true) {
        const std::size_t comma = inside.find(',');
        const std::string_view part = inside.substr(0, comma);
        int value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || error != std::errc{} || end != part.data() + part.size()) {
            throw std::invalid_argument("malformed index: " + Quoted(word));
        }
        result.index.push_back(value);
        if (comma == std::string_view::npos) {
            break;
        }
        inside.remove_prefix(comma + 1);
    }
    return result;
}

}  // namespace quibbix
