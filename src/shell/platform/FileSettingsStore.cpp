#include "shell/platform/FileSettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "shell/platform/AtomicReplace.h"
#include "shell/platform/IniLine.h"
#include "shell/platform/IniRewrite.h"
#include "shell/platform/IniSyntax.h"
#include "shell/platform/WholeFile.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

// Far more than the game ever writes: a larger file is not one the game wrote, and reading only its
// start and writing that back would cut it down.
constexpr std::size_t kMaxFileBytes = std::size_t{4} << 20;

fs::path HomeFromUserDatabase() {
    const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return {};
    }
    fs::path home(found->pw_dir);
    return home.is_absolute() ? home : fs::path();
}

}  // namespace

FileSettingsStore::FileSettingsStore(fs::path path, std::string_view app)
    : path_(std::move(path)), app_(app) {
    if (!path_.empty()) {
        WholeFile file = ReadWholeFile(path_, kMaxFileBytes);
        text_ = std::move(file.text);
        refusal_ = file.refusal.empty() ? WhyLeftAsItIs(path_) : std::move(file.refusal);
    }
    Load();
}

fs::path FileSettingsStore::DefaultPath(std::string_view app) {
    return DefaultPath(app, [](const char* name) -> const char* { return std::getenv(name); });
}

fs::path FileSettingsStore::DefaultPath(std::string_view app, const EnvLookup& getenv) {
    // Relative folders are ignored, as the XDG rules demand: they would depend on where the game was started.
    const auto absoluteFolder = [&getenv](const char* name) {
        const char* value = getenv(name);
        const fs::path folder = value ? fs::path(value) : fs::path();
        return folder.is_absolute() ? folder : fs::path();
    };
    fs::path config = absoluteFolder("XDG_CONFIG_HOME");
    if (config.empty()) {
        fs::path home = absoluteFolder("HOME");
        if (home.empty()) {
            home = HomeFromUserDatabase();
        }
        if (home.empty()) {
            return {};
        }
        config = home / ".config";
    }
    return config / fs::path(app) / "settings.ini";
}

std::string FileSettingsStore::GetSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) const {
    return Serves(app) ? values_.GetSetting(app_, section, key, defaultValue) : std::string(defaultValue);
}

void FileSettingsStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                    std::string_view value) {
    if (!Serves(app)) {
        return;
    }
    values_.SaveSetting(app_, section, key, value);
    saved_[std::string(section)].insert(key);
}

std::map<std::string, std::string> FileSettingsStore::Values(std::string_view app,
                                                             std::string_view section) const {
    return Serves(app) ? values_.Values(app_, section) : std::map<std::string, std::string>{};
}

void FileSettingsStore::Flush() noexcept {
    if (path_.empty() || saved_.empty() || !refusal_.empty()) {
        return;
    }
    try {
        // Another copy, a foreign tool or the player may have written the file since it was read,
        // where the lock could not keep them out (a network home, an editor).
        WholeFile now = ReadWholeFile(path_, kMaxFileBytes);
        if (!now.refusal.empty()) {
            lastFault_ = std::move(now.refusal);
            return;
        }
        std::string text;
        if (!merged_ && now.text == text_) {
            text = RewriteIni(lines_, saved_, [this](std::string_view section, std::string_view key) {
                return values_.GetSetting(app_, section, key, "");
            });
        } else {
            text = Merge(now.text);
        }
        // Written, it would be refused by the next run, and the table with it.
        if (text.size() > kMaxFileBytes) {
            lastFault_ = path_.string() + " would grow past " + std::to_string(kMaxFileBytes >> 20) + " MiB";
            return;
        }
        lastFault_ = ReplaceAtomically(path_, text);
        if (lastFault_.empty()) {
            text_ = std::move(text);
            lines_ = ini::SplitLines(text_);
            base_ = values_;
            saved_.clear();
        }
    } catch (...) {
        // Out of memory while rendering: the old file stays, as on any other failure.
        lastFault_ = path_.string() + " could not be rewritten: out of memory";
    }
}

std::string FileSettingsStore::Merge(std::string_view now) {
    if (!merged_) {
        std::fprintf(stderr, "quibbix: %s was changed by another program since the game read it; merged\n",
                     path_.c_str());
        merged_ = true;
    }
    MemorySettingsStore theirs;
    const std::vector<std::string_view> lines = Parse(now, theirs);
    KeysBySection keys = saved_;
    const MemorySettingsStore merged = MergeSaved(app_, base_, values_, theirs, keys, table_);
    return RewriteIni(lines, keys, [this, &merged](std::string_view section, std::string_view key) {
        return merged.GetSetting(app_, section, key, "");
    });
}

void FileSettingsStore::KeepRanked(RankedTable table) {
    table_ = std::move(table);
}

void FileSettingsStore::LeaveUnchanged(std::string why) {
    if (refusal_.empty()) {
        refusal_ = std::move(why);
    }
}

std::string FileSettingsStore::Refusal() const {
    return refusal_.empty() ? lastFault_ : refusal_;
}

bool FileSettingsStore::Serves(std::string_view app) const {
    const AsciiCaseLess less;
    return !less(app, app_) && !less(app_, app);
}

void FileSettingsStore::Load() {
    lines_ = Parse(text_, values_);
    base_ = values_;
}

std::vector<std::string_view> FileSettingsStore::Parse(std::string_view text,
                                                       MemorySettingsStore& values) const {
    if (text.starts_with(ini::kByteOrderMark)) {
        text.remove_prefix(ini::kByteOrderMark.size());
    }
    std::vector<std::string_view> lines = ini::SplitLines(text);
    std::optional<std::string_view> section;
    for (const auto raw : lines) {
        const ini::Line line = ini::Classify(raw);
        if (line.kind == ini::Line::Kind::kHeader) {
            section = line.section;
        } else if (line.kind == ini::Line::Kind::kEntry && section) {
            values.SaveSetting(app_, *section, line.key, ini::DecodeValue(line.rawValue));
        }
    }
    return lines;
}

}  // namespace quibbix
