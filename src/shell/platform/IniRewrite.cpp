#include "shell/platform/IniRewrite.h"

#include <cstddef>
#include <map>
#include <optional>
#include <utility>

#include "shell/platform/IniLine.h"
#include "shell/platform/IniSyntax.h"

namespace quibbix {
namespace {

// The value saved under a key of a section.
using SavedValue = std::function<std::string(std::string_view section, std::string_view key)>;

class Rewriter {
public:
    Rewriter(const KeysBySection& saved, const SavedValue& valueOf) : saved_(saved), valueOf_(valueOf) {}

    std::string Rewrite(const std::vector<std::string_view>& lines);

private:
    bool WasSaved(std::string_view section, std::string_view key) const {
        const auto found = saved_.find(section);
        return found != saved_.end() && found->second.contains(key);
    }
    void AppendEntry(std::string_view section, std::string_view key) {
        out_.append(key).append("=").append(ini::Encode(valueOf_(section, key))) += '\n';
    }
    void AppendSaved(std::string_view section);

    const KeysBySection& saved_;
    const SavedValue& valueOf_;
    KeysBySection written_;
    std::string out_;
};

std::string Rewriter::Rewrite(const std::vector<std::string_view>& lines) {
    using ini::Line;
    // Keys new to the file go after the last line of the last block of their section.
    std::map<std::string_view, std::size_t, AsciiCaseLess> lastHeader;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const Line line = ini::Classify(lines[i]); line.section) {
            lastHeader.insert_or_assign(*line.section, i);
        }
    }
    std::optional<std::string_view> section;
    std::size_t header = 0;
    const auto closeBlock = [&] {
        if (section && lastHeader.at(*section) == header) {
            AppendSaved(*section);
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line line = ini::Classify(lines[i]);
        if (line.kind == Line::Kind::kHeader) {
            closeBlock();
            section = line.section;
            header = i;
        } else if (line.kind == Line::Kind::kEntry && section && WasSaved(*section, line.key)) {
            // Later duplicates are dropped: reading the file again would let them win over the new value.
            if (written_[std::string(*section)].insert(line.key)) {
                AppendEntry(*section, line.key);
            }
            continue;
        }
        // A kept line that still ends in a carriage return keeps it: written with a bare line feed,
        // the pair would read back as one line ending and the value would lose it.
        out_.append(lines[i]) += lines[i].ends_with('\r') ? "\r\n" : "\n";
    }
    closeBlock();
    for (const auto& [name, keys] : saved_) {
        if (lastHeader.contains(name) || !ini::IsWritableName(name, "]")) {
            continue;
        }
        if (!out_.empty() && !out_.ends_with("\n\n")) {
            out_ += '\n';
        }
        out_.append("[").append(name).append("]\n");
        AppendSaved(name);
    }
    return std::move(out_);
}

void Rewriter::AppendSaved(std::string_view section) {
    const auto keys = saved_.find(section);
    if (keys == saved_.end()) {
        return;
    }
    auto& done = written_[std::string(section)];
    for (const auto& key : keys->second) {
        // A key that could not be read back (with "=" or a line break in it) stays in memory only.
        if (ini::IsWritableName(key, "=") && done.insert(key)) {
            AppendEntry(section, key);
        }
    }
}

}  // namespace

std::string RewriteIni(const std::vector<std::string_view>& lines, const KeysBySection& saved,
                       const SavedValue& valueOf) {
    return Rewriter(saved, valueOf).Rewrite(lines);
}

}  // namespace quibbix
