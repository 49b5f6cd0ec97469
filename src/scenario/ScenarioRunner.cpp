#include "scenario/ScenarioRunner.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>

#include "scenario/BadLine.h"
#include "scenario/Commands.h"
#include "scenario/Failure.h"
#include "scenario/LineRead.h"
#include "scenario/ScriptLine.h"

namespace quibbix {

namespace {

// When a command may run.
enum class Needs {
    Nothing,         // seed and random: any time
    NoForm,          // start
    Form,            // the inspections: still after the program has ended
    RunningProgram,  // everything else
};

struct Command {
    std::string_view name;
    void (*run)(ScenarioSession&, const Words&);
    Needs needs;
};

constexpr std::array kCommands = {
    Command{"seed", commands::Seed, Needs::Nothing},
    Command{"random", commands::QueueRandom, Needs::Nothing},
    Command{"start", commands::Start, Needs::NoForm},
    Command{"move", commands::Pointer, Needs::RunningProgram},
    Command{"press", commands::Pointer, Needs::RunningProgram},
    Command{"release", commands::Pointer, Needs::RunningProgram},
    Command{"click", commands::Click, Needs::RunningProgram},
    Command{"key", commands::Key, Needs::RunningProgram},
    Command{"type", commands::Type, Needs::RunningProgram},
    Command{"tick", commands::Tick, Needs::RunningProgram},
    Command{"wait", commands::Wait, Needs::RunningProgram},
    Command{"minimize", commands::WindowState, Needs::RunningProgram},
    Command{"restore", commands::WindowState, Needs::RunningProgram},
    Command{"away", commands::Away, Needs::RunningProgram},
    Command{"close", commands::Close, Needs::RunningProgram},
    Command{"set", commands::Set, Needs::RunningProgram},
    Command{"call", commands::Call, Needs::RunningProgram},
    Command{"dump", commands::Dump, Needs::Form},
    Command{"shot", commands::Shot, Needs::Form},
    Command{"sprite", commands::Sprite, Needs::Form},
    Command{"expect", commands::Expect, Needs::Form},
    Command{"expect-control", commands::ExpectControl, Needs::Form},
    Command{"expect-pixel", commands::ExpectPixel, Needs::Form},
    Command{"expect-sprite", commands::ExpectSprite, Needs::Form},
};

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

void Execute(ScenarioSession& session, const Words& words) {
    const std::string& name = words[0];
    const Command* command = FindCommand(name);
    // An unknown command is told apart only once the form is running, like the known ones.
    const Needs needs = command != nullptr           ? command->needs
                        : name.starts_with("expect") ? Needs::Form
                                                     : Needs::RunningProgram;
    if (needs == Needs::Form || needs == Needs::RunningProgram) {
        if (!session.Started()) {
            throw BadLine(Quoted(name) + " needs start first");
        }
        if (needs == Needs::RunningProgram && session.Ended()) {
            throw BadLine(Quoted(name) + " after the program ended");
        }
    }
    if (command == nullptr) {
        throw BadLine("unknown command: " + Quoted(name));
    }
    command->run(session, words);
}

}  // namespace

ScenarioRunner::ScenarioRunner(const Options& options, std::ostream& out)
    : session_(std::make_unique<ScenarioSession>(options.settingsFile, options.programDir, out,
                                                 options.writePng)) {}

ScenarioRunner::~ScenarioRunner() = default;

int ScenarioRunner::Run(std::istream& script, std::ostream& err) {
    std::string line;
    for (std::int64_t number = 1;; ++number) {
        const LineRead read = ReadScriptLine(script, line);
        if (read == LineRead::End) {
            return 0;
        }
        try {
            if (read == LineRead::TooLong) {
                throw BadLine("line longer than " + std::to_string(kMaxLineBytes) + " bytes");
            }
            const Words words = SplitWords(line);
            if (!words.empty() && !words[0].starts_with("#")) {
                Execute(*session_, words);
            }
        } catch (const Failure& failure) {
            err << "LINE " << number << ": " << failure.what() << '\n';
            return 1;
        } catch (const std::exception& bad) {
            // Anything else the game throws is reported as the line's fault, quoted like input.
            err << "LINE " << number << ": " << Quoted(bad.what(), 2 * kMaxQuotedBytes) << '\n';
            return 2;
        }
    }
}

}  // namespace quibbix
