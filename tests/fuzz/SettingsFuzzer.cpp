// libFuzzer target for the settings file: the input is the file as the player left it. A store reads
// it, saves the game's keys and a few more with values made from the input, and writes it; a second
// store must read every saved value back exactly.
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/SettingsText.h"
#include "shell/platform/FileSettingsStore.h"

namespace {

using namespace quibbix;
namespace fs = std::filesystem;

constexpr std::string_view kApp = "Quibbix";
constexpr std::string_view kSection = "Settings";

// One folder per process, removed on the way out. The path is never destroyed, so the clean-up
// can still read it at exit.
const fs::path& SettingsFile() {
    static const fs::path* const file = [] {
        std::string folder = (fs::temp_directory_path() / "quibbix-fuzz-XXXXXX").string();
        if (::mkdtemp(folder.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] { fs::remove_all(SettingsFile().parent_path()); });
        return new fs::path(fs::path(folder) / "settings.ini");
    }();
    return *file;
}

void Require(bool condition, const char* what, std::string_view key) {
    if (!condition) {
        std::fprintf(stderr, "settings round trip: %s (key \"%.*s\")\n", what, static_cast<int>(key.size()),
                     key.data());
        std::abort();
    }
}

// The number the game would make of a stored text is always a finite double.
void ReadAsNumber(std::string_view text) {
    Require(std::isfinite(LeadingNumber(text)), "LeadingNumber is not finite", text);
}

// Values that a bare line cannot carry, and pieces of the input itself.
std::string Value(std::string_view input, std::size_t n) {
    using namespace std::string_literals;
    static const std::string kAwkward[] = {
        "",         " ",          " lead",         "trail\t",
        "\"",       "\"quoted\"", "back\\slash\\", "line\nbreak",
        "cr\r",     "\r\n",       "nul\0nul"s,     "caf\xC3\xA9 \xE2\x82\xAC",
        "\xFF\xFE", ";comment",   "#hash",         "[section]",
        "a=b",      "\\x41\\",    " 1500",         "-7",
        "1e999"};
    constexpr std::size_t kCount = std::size(kAwkward);
    const unsigned char pick = input.empty() ? 0 : static_cast<unsigned char>(input[n % input.size()]);
    if (pick % 2 == 0) {
        return kAwkward[(pick / 2 + n) % kCount];
    }
    const std::size_t start = (n * 7 + pick) % (input.size() + 1);
    return std::string(input.substr(start, pick % 41));
}

// A key any INI line can carry: letters and figures taken from the input.
std::string DerivedKey(std::string_view input, std::size_t n) {
    std::string key = "Extra" + std::to_string(n);
    for (std::size_t i = n; i < input.size() && key.size() < 16; i += 3) {
        const char c = input[i];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            key += c;
        }
    }
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const fs::path& file = SettingsFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(input.data(), static_cast<std::streamsize>(size));

    std::vector<std::pair<std::string, std::string>> keys = {{std::string(kSection), "Sound"}};
    for (int n = 1; n <= 10; ++n) {
        keys.emplace_back(kSection, "HighScoreName" + std::to_string(n));
        keys.emplace_back(kSection, "HighScore" + std::to_string(n));
    }
    for (std::size_t n = 0; n < 3; ++n) {
        keys.emplace_back(n == 2 ? "Extra" : kSection, DerivedKey(input, n));
    }

    MemorySettingsStore expected;
    {
        FileSettingsStore store(file, kApp);
        for (const auto& [section, key] : keys) {
            ReadAsNumber(store.GetSetting(kApp, section, key, "0"));
        }
        for (const auto& [key, value] : store.Values(kApp, kSection)) {
            ReadAsNumber(value);
        }
        for (std::size_t n = 0; n < keys.size(); ++n) {
            const auto& [section, key] = keys[n];
            const std::string value = Value(input, n);
            store.SaveSetting(kApp, section, key, value);
            expected.SaveSetting(kApp, section, key, value);
            Require(store.GetSetting(kApp, section, key, "") == value, "not kept in memory", key);
            ReadAsNumber(value);
        }
        store.Flush();
    }

    const FileSettingsStore reread(file, kApp);
    for (const auto& [section, key] : keys) {
        const std::string value = expected.GetSetting(kApp, section, key, "");
        // Two defaults tell a missing key from one whose value happens to equal a default.
        Require(reread.GetSetting(kApp, section, key, "a") == value &&
                    reread.GetSetting(kApp, section, key, "b") == value,
                "the saved value did not come back", key);
    }
    return 0;
}
