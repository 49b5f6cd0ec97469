// quibbix-scenario: runs the game headless from a script, for reproducible play and tests.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "scenario/CommandArguments.h"
#include "scenario/FieldTable.h"
#include "scenario/LineRead.h"
#include "scenario/ProcedureTable.h"
#include "scenario/ScenarioRunner.h"
#include "scenario/ScriptLine.h"

namespace {

constexpr const char* kUsage = "usage: quibbix-scenario [--settings FILE] [--program-dir DIR] SCRIPT|-\n";

// The help text, with the limits a script must keep to taken from the runner itself.
std::string Help() {
    using namespace quibbix;
    std::string help =
        std::string(kUsage) +
        "\nRuns the game headless from a script, one command a line. Exit status: 0 when every\n"
        "line ran, 2 on a line it cannot run (\"LINE N: what is wrong\" on stderr, nothing after\n"
        "it runs), 1 on any other failure.\n\nLimits:\n";
    const auto limit = [&help](std::string_view what, auto value) {
        help += "  " + std::string(what) + std::to_string(value) + "\n";
    };
    limit("bytes in a line, at most ", kMaxLineBytes);
    limit("tick N: N from 0 to ", kMaxTicks);
    limit("wait MS: MS from 0 to ", kMaxWaitMs);
    limit("random: values in a line, at most ", kMaxRandomValues);
    limit("random: values waiting in the queue, at most ", kMaxQueuedRandomValues);
    limit("window coordinates (move, press, release, click, expect-pixel, expect-sprite): at most ",
          kMaxCoordinate);
    help += "    pixels either way from the window's top-left\n";
    limit("bytes of the script quoted in an error line, at most ", kMaxQuotedBytes);
    help +=
        "\nset FIELD VALUE takes a value of the field's type; these fields take only the values the\n"
        "game can work with:\n";
    for (const Field& field : MainFormFields()) {
        if (!field.range.empty()) {
            help += "  " + field.name + " " + field.range + "\n";
        }
    }
    help += "\ncall PROC ARG... checks each argument before the call:\n";
    for (const Procedure& procedure : MainFormProcedures()) {
        if (procedure.arguments.empty()) {
            continue;
        }
        help += "  " + std::string(procedure.name);
        for (const Procedure::ArgumentRange& range : procedure.arguments) {
            help.append(" ")
                .append(std::to_string(range.low))
                .append("..")
                .append(std::to_string(range.high));
        }
        help += "\n";
    }
    return help;
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    quibbix::ScenarioRunner::Options options{"", ExecutableFolder(), {}};
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << Help();
            return 0;
        }
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
