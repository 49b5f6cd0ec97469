#include "shell/platform/FileSettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <system_error>

namespace quibbix {
namespace {

namespace fs = std::filesystem;

// Far more than the game ever writes; anything larger is damaged, and only its start is worth reading.
constexpr std::size_t kMaxFileBytes = std::size_t{4} << 20;
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr auto kNone = std::string_view::npos;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == kNone) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

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

// Whether a name survives being written on a `name=value` or `[name]` line and read back.
bool IsWritableName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && name == Trim(name) && name.find_first_of(forbidden) == kNone &&
           !HasControl(name) && !ReadsAsMarkup(name);
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

std::string DecodeValue(std::string_view raw) {
    const auto start = raw.find_first_not_of(kBlanks);
    if (start != kNone && raw[start] == '"') {
        return Unescape(raw.substr(start + 1));
    }
    return std::string(Trim(raw));
}

struct Line {
    enum class Kind { kOther, kHeader, kEntry };
    Kind kind = Kind::kOther;
    std::optional<std::string_view> section;  // a damaged header names no section
    std::string_view key;
    std::string_view rawValue;
};

Line Classify(std::string_view text) {
    const auto trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return {};
    }
    if (trimmed.front() == '[') {
        const auto close = trimmed.find(']');
        // Keys after a damaged header must not land in the section before it.
        return {Line::Kind::kHeader,
                close == kNone ? std::nullopt : std::optional(Trim(trimmed.substr(1, close - 1))),
                {},
                {}};
    }
    const auto equals = text.find('=');
    const auto key = Trim(text.substr(0, equals));
    if (equals == kNone || key.empty()) {
        return {};
    }
    return {Line::Kind::kEntry, std::nullopt, key, text.substr(equals + 1)};
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

// Only section headers and key lines: what is left of a damaged file worth keeping.
std::vector<std::string_view> ReadableLines(const std::vector<std::string_view>& lines) {
    std::vector<std::string_view> readable;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(readable),
                 [](std::string_view line) { return Classify(line).kind != Line::Kind::kOther; });
    return readable;
}

// Refuses anything but a regular file, so a FIFO or a device put in the file's place cannot hang us.
std::string ReadStart(const fs::path& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return text;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        text.resize(std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), kMaxFileBytes));
        std::size_t filled = 0;
        while (filled < text.size()) {
            const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
            if (got > 0) {
                filled += static_cast<std::size_t>(got);
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        text.resize(filled);
    }
    ::close(fd);
    return text;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put > 0) {
            data.remove_prefix(static_cast<std::size_t>(put));
        } else if (put == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool Sync(int fd) {
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// The old file stays whole until the new one is complete on disk, so a crash or a full disk during
// the save cannot cost the player the table.
bool ReplaceFile(const fs::path& path, std::string_view text) {
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    // mkostemp opens with O_EXCL and mode 0600: an existing file or link is never followed.
    std::string temp = path.string() + ".tmp.XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, text) && Sync(fd);
    ok = (::close(fd) == 0 || errno == EINTR) && ok;  // Linux closes the file even on EINTR
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Without this the rename itself may not survive a power cut.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        Sync(dir);
        ::close(dir);
    }
    return true;
}

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
        text_ = ReadStart(path_);
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
    if (path_.empty() || saved_.empty()) {
        return;
    }
    try {
        std::string text = Render(lines_);
        // The file was damaged beyond the reading limit; trimming it keeps the saved values readable.
        if (text.size() > kMaxFileBytes) {
            text = Render(ReadableLines(lines_));
        }
        if (text.size() > kMaxFileBytes) {
            text = Render({});
        }
        if (ReplaceFile(path_, text)) {
            text_ = std::move(text);
            lines_ = SplitLines(text_);
            saved_.clear();
        }
    } catch (...) {
        // Out of memory while rendering: the old file stays, as on any other failure.
    }
}

bool FileSettingsStore::KeySet::insert(std::string_view key) {
    if (!index_.emplace(key).second) {
        return false;
    }
    order_.emplace_back(key);
    return true;
}

bool FileSettingsStore::Serves(std::string_view app) const {
    const AsciiCaseLess less;
    return !less(app, app_) && !less(app_, app);
}

void FileSettingsStore::Load() {
    std::string_view text = text_;
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    lines_ = SplitLines(text);
    std::optional<std::string_view> section;
    for (const auto raw : lines_) {
        const Line line = Classify(raw);
        if (line.kind == Line::Kind::kHeader) {
            section = line.section;
        } else if (line.kind == Line::Kind::kEntry && section) {
            values_.SaveSetting(app_, *section, line.key, DecodeValue(line.rawValue));
        }
    }
}

bool FileSettingsStore::WasSaved(std::string_view section, std::string_view key) const {
    const auto found = saved_.find(section);
    return found != saved_.end() && found->second.contains(key);
}

std::string FileSettingsStore::Render(const std::vector<std::string_view>& lines) const {
    // Keys new to the file go after the last line of the last block of their section.
    std::map<std::string_view, std::size_t, AsciiCaseLess> lastHeader;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const Line line = Classify(lines[i]); line.section) {
            lastHeader.insert_or_assign(*line.section, i);
        }
    }
    KeysBySection written;
    std::string out;
    std::optional<std::string_view> section;
    std::size_t header = 0;
    const auto closeBlock = [&] {
        if (section && lastHeader.at(*section) == header) {
            AppendSaved(out, *section, written);
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line line = Classify(lines[i]);
        if (line.kind == Line::Kind::kHeader) {
            closeBlock();
            section = line.section;
            header = i;
        } else if (line.kind == Line::Kind::kEntry && section && WasSaved(*section, line.key)) {
            // Later duplicates are dropped: reading the file again would let them win over the new value.
            if (written[std::string(*section)].insert(line.key)) {
                AppendEntry(out, *section, line.key);
            }
            continue;
        }
        // A kept line that still ends in a carriage return keeps it: written with a bare line feed,
        // the pair would read back as one line ending and the value would lose it.
        out.append(lines[i]) += lines[i].ends_with('\r') ? "\r\n" : "\n";
    }
    closeBlock();
    for (const auto& [name, keys] : saved_) {
        if (lastHeader.contains(name) || !IsWritableName(name, "]")) {
            continue;
        }
        if (!out.empty() && !out.ends_with("\n\n")) {
            out += '\n';
        }
        out.append("[").append(name).append("]\n");
        AppendSaved(out, name, written);
    }
    return out;
}

void FileSettingsStore::AppendEntry(std::string& out, std::string_view section, std::string_view key) const {
    out.append(key).append("=").append(Encode(values_.GetSetting(app_, section, key, ""))) += '\n';
}

void FileSettingsStore::AppendSaved(std::string& out, std::string_view section,
                                    KeysBySection& written) const {
    const auto keys = saved_.find(section);
    if (keys == saved_.end()) {
        return;
    }
    auto& done = written[std::string(section)];
    for (const auto& key : keys->second) {
        // A key that could not be read back (with "=" or a line break in it) stays in memory only.
        if (IsWritableName(key, "=") && done.insert(key)) {
            AppendEntry(out, section, key);
        }
    }
}

}  // namespace quibbix
