#include "shell/platform/SettingsMerge.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "shell/platform/IniSyntax.h"
#include "shell/platform/RankedTable.h"

namespace quibbix {
namespace {

struct Entry {
    std::string name;
    std::string scoreText;  // written back as it was
    std::int64_t score = 0;

    bool SameAs(const Entry& other) const { return name == other.name && score == other.score; }
    bool Empty() const { return name.empty() && score == 0; }
};

std::optional<std::string> Find(const MemorySettingsStore& values, std::string_view app,
                                std::string_view section, std::string_view key) {
    const AsciiCaseLess less;
    for (const auto& [name, value] : values.Values(app, section)) {
        if (!less(name, key) && !less(key, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::int64_t ScoreOf(std::string_view text) {
    text = ini::Trim(text);
    std::int64_t score = 0;
    std::from_chars(text.data(), text.data() + text.size(), score);
    return score;
}

std::vector<Entry> TableOf(const MemorySettingsStore& values, std::string_view app,
                           const RankedTable& table) {
    std::vector<Entry> entries;
    for (int rank = 1; rank <= table.ranks; ++rank) {
        const std::string number = std::to_string(rank);
        Entry entry{Find(values, app, table.section, table.nameKey + number).value_or(""),
                    Find(values, app, table.section, table.scoreKey + number).value_or("0")};
        entry.score = ScoreOf(entry.scoreText);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// Entries of `ours` that `base` does not hold, each counted as often as it is added.
std::vector<Entry> Added(std::vector<Entry> base, const std::vector<Entry>& ours) {
    std::vector<Entry> added;
    for (const Entry& entry : ours) {
        bool known = false;
        for (Entry& old : base) {
            if (!old.Empty() && old.SameAs(entry)) {
                old = Entry{};
                known = true;
                break;
            }
        }
        if (!known && !entry.Empty()) {
            added.push_back(entry);
        }
    }
    return added;
}

std::vector<Entry> RankIn(std::vector<Entry> table, const std::vector<Entry>& added) {
    const std::size_t ranks = table.size();
    for (const Entry& entry : added) {
        for (std::size_t rank = 0; rank < ranks; ++rank) {
            if (entry.score >= table[rank].score) {
                table.insert(table.begin() + static_cast<std::ptrdiff_t>(rank), entry);
                table.resize(ranks);
                break;
            }
        }
    }
    return table;
}

}  // namespace

MemorySettingsStore MergeSaved(std::string_view app, const MemorySettingsStore& base,
                               const MemorySettingsStore& ours, const MemorySettingsStore& theirs,
                               KeysBySection& saved, const std::optional<RankedTable>& table) {
    MemorySettingsStore merged;
    for (const auto& [section, keys] : saved) {
        for (const std::string& key : keys) {
            const std::string mine = ours.GetSetting(app, section, key, "");
            const std::optional<std::string> before = Find(base, app, section, key);
            const std::optional<std::string> now = Find(theirs, app, section, key);
            merged.SaveSetting(app, section, key, before == mine && now ? *now : mine);
        }
    }
    if (table && table->ranks > 0) {
        const std::vector<Entry> ranked = RankIn(
            TableOf(theirs, app, *table), Added(TableOf(base, app, *table), TableOf(ours, app, *table)));
        KeySet& keys = saved[table->section];
        for (int rank = 1; rank <= table->ranks; ++rank) {
            const std::string number = std::to_string(rank);
            const Entry& entry = ranked[static_cast<std::size_t>(rank - 1)];
            for (const auto& [key, value] : {std::pair{table->nameKey + number, entry.name},
                                             std::pair{table->scoreKey + number, entry.scoreText}}) {
                keys.insert(key);
                merged.SaveSetting(app, table->section, key, value);
            }
        }
    }
    return merged;
}

}  // namespace quibbix
