#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/platform/KeysBySection.h"
#include "shell/platform/MemorySettingsStore.h"
#include "shell/platform/RankedTable.h"
#include "shell/platform/SettingsMerge.h"

namespace quibbix {

// The settings of one application kept in an INI file. The file is read once, when the store is
// made, and written once, by Flush.
//
// The player may edit the file by hand, so everything the game does not understand (comments, other
// sections, unknown keys, blank lines) is written back where it was. Only keys saved during this
// run are rewritten; a run that saves nothing leaves the file alone.
//
// Values that a bare `key=value` line could not carry faithfully are written in double quotes with
// C-style escapes, so every string comes back exactly as saved. A key or section name that no
// INI line could carry (empty, with "=" or "]" or a line break in it) is kept in memory only.
//
// A file the store cannot read whole (no permission, an I/O error, not a regular file, larger than
// 4 MiB) is never replaced: the store starts empty and the file stays byte for byte as it was. A
// file its owner may not write is read but never replaced either. Refusal says why.
//
// Flush reads the file again first. A file nobody else wrote meanwhile is rewritten as above; one
// that another program changed is merged three ways (see MergeSaved), keeping every line of the
// file as it is now, and the store says so in one line on standard error. One that can no longer
// be read whole is left alone.
class FileSettingsStore final : public SettingsStore {
public:
    // Looks up one environment variable; returns null when it is unset (like std::getenv).
    using EnvLookup = std::function<const char*(const char*)>;

    // An empty path gives a store that lives in memory only.
    FileSettingsStore(std::filesystem::path path, std::string_view app);
    // The lines point into the text read, so the store cannot be copied or moved.
    FileSettingsStore(const FileSettingsStore&) = delete;
    FileSettingsStore& operator=(const FileSettingsStore&) = delete;

    // Where the settings of `app` live for this user: $XDG_CONFIG_HOME/<app>/settings.ini, else
    // $HOME/.config/<app>/settings.ini, else the home folder from the user database; empty when
    // no home folder can be found.
    static std::filesystem::path DefaultPath(std::string_view app);
    static std::filesystem::path DefaultPath(std::string_view app, const EnvLookup& getenv);

    // Names of other applications read as missing and are not saved: the file holds one application.
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override;
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::map<std::string, std::string> Values(std::string_view app, std::string_view section) const override;
    // Replaces the file atomically, keeping its identity (see ReplaceAtomically). A failure leaves
    // the old file as it was and is told by Refusal, never thrown: losing a high score is better
    // than stopping the game on its way out.
    void Flush() noexcept override;
    std::string Refusal() const override;

    // The section holds a ranked table, merged entry by entry when another copy changed the file.
    void KeepRanked(RankedTable table);
    // The file is read but must never be replaced; Refusal says `why`.
    void LeaveUnchanged(std::string why);

private:
    bool Serves(std::string_view app) const;
    void Load();
    // The lines of `text` (views into it), with its entries saved into `values`.
    std::vector<std::string_view> Parse(std::string_view text, MemorySettingsStore& values) const;
    // The text to write over `now`, the file as another program left it.
    std::string Merge(std::string_view now);

    std::filesystem::path path_;
    std::string app_;
    std::string text_;                     // the whole file, or nothing when it was refused
    std::vector<std::string_view> lines_;  // views into text_, without line ends
    MemorySettingsStore values_;
    MemorySettingsStore base_;  // the values as the file held them when last read or written
    std::optional<RankedTable> table_;
    bool merged_ = false;    // once merged, every later save merges too
    KeysBySection saved_;    // keys saved since the file was read; only these are rewritten
    std::string refusal_;    // why the file, as read, must never be replaced
    std::string lastFault_;  // why the last save failed
};

}  // namespace quibbix
