// quibbix-scenario: runs the game headless from a script, for reproducible play and tests.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "scenario/ScenarioRunner.h"

namespace {

constexpr const char* kUsage = "usage: quibbix-scenario [--settings FILE] [--program-dir DIR] SCRIPT|-\n";

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    quibbix::ScenarioRunner::Options options{"", ExecutableFolder()};
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "--settings" || arg == "--program-dir") && i + 1 < argc) {
            (arg == "--settings" ? options.settingsFile : options.programDir) = argv[++i];
        } else if (script.empty() && (arg == "-" || !arg.starts_with("--"))) {
            script = arg;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (script.empty()) {
        std::cerr << kUsage;
        return 2;
    }

    quibbix::ScenarioRunner runner(options, std::cout);
    if (script == "-") {
        return runner.Run(std::cin, std::cerr);
    }
    std::ifstream file(script);
    if (!file) {
        std::cerr << "quibbix-scenario: cannot read " << script << '\n';
        return 1;
    }
    return runner.Run(file, std::cerr);
}
