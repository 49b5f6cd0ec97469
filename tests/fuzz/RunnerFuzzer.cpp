// Feeds scripts through the scenario runner in-process, exactly as quibbix-scenario runs them, and
// checks every outcome: status 0, 1 or 2; nothing on the error stream after status 0, else one
// printable line "LINE N: ..." naming a line of the script; and a rejected line stops the script
// where it stands, so the lines before it alone run the same and succeed. The scripts are made
// from the runner's own vocabulary (every command, field, procedure, control and picture, with
// numbers at and beyond every limit) and then mutated with junk bytes. A seed always gives the
// same scripts; --print shows each one before it runs, so after a crash the last one shown is the
// culprit.
//
//   quibbix_runner_fuzzer [--seed N] [--scripts M] [--print]
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CountOption.h"
#include "game/FrmMain.h"
#include "scenario/FieldTable.h"
#include "scenario/ProcedureTable.h"
#include "scenario/ScenarioRunner.h"
#include "shell/headless/HeadlessPlatform.h"
#include "tests/common/RunScript.h"

namespace quibbix {
namespace {

using Outcome = ScriptOutcome;

// Pictures are made but never written: a mutated `shot` could name any path.
Outcome RunScriptUnwritten(const std::string& script) {
    return RunScript(script, [](const std::string&, const Image&) { return true; });
}

struct Violation : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw Violation(what);
    }
}

// The number of the line "LINE N: ..." blames, checked to be printable and on one line.
long BlamedLine(const std::string& err) {
    Require(err.starts_with("LINE "), "the error does not start with LINE: " + err);
    Require(err.size() < 512, "an error line of " + std::to_string(err.size()) + " bytes");
    Require(err.back() == '\n' && err.find('\n') == err.size() - 1, "the error is not one line: " + err);
    for (std::size_t i = 0; i + 1 < err.size(); ++i) {
        const auto byte = static_cast<unsigned char>(err[i]);
        Require(byte >= 0x20 && byte < 0x7F, "an unprintable byte in the error at " + std::to_string(i));
    }
    const std::size_t digits = err.find_first_not_of("0123456789", 5);
    Require(digits > 5 && digits < 15 && err.compare(digits, 2, ": ") == 0, "no line number: " + err);
    return std::stol(err.substr(5, digits - 5));
}

long CountLines(const std::string& script) {
    long lines = std::count(script.begin(), script.end(), '\n');
    return script.empty() || script.back() == '\n' ? lines : lines + 1;
}

// The first `count` lines of the script.
std::string Head(const std::string& script, long count) {
    std::size_t end = 0;
    for (long line = 0; line < count; ++line) {
        end = script.find('\n', end) + 1;
    }
    return script.substr(0, end);
}

// Runs the script and checks the outcome. `deterministic`: the script seeds the generator on its
// first line, so a second run of its head must repeat the first.
Outcome Check(const std::string& script, bool deterministic) {
    const Outcome outcome = RunScriptUnwritten(script);
    Require(outcome.status == 0 || outcome.status == 1 || outcome.status == 2,
            "status " + std::to_string(outcome.status));
    if (outcome.status == 0) {
        Require(outcome.err.empty(), "status 0 with an error: " + outcome.err);
        return outcome;
    }
    const long line = BlamedLine(outcome.err);
    Require(line >= 1 && line <= CountLines(script), "LINE " + std::to_string(line) + " of a script of " +
                                                         std::to_string(CountLines(script)) + " lines");
    if (deterministic && outcome.status == 2) {
        const Outcome head = RunScriptUnwritten(Head(script, line - 1));
        Require(head.status == 0, "the lines before the bad one fail alone: " + head.err);
        Require(head.out == outcome.out, "the bad line printed something");
    }
    return outcome;
}

// Scripts from the runner's vocabulary: mostly lines that run, so the scripts get deep into the
// game, with now and then an argument at or beyond a limit, and junk.
class ScriptMaker {
public:
    explicit ScriptMaker(std::uint32_t seed) : random_(seed) {
        HeadlessPlatform platform("", "/opt/quibbix");
        FrmMain form(platform.Services());
        form.Load();
        for (const Control* control : form.Controls()) {
            controls_.push_back(control->Name());
            if (control->Picture() != nullptr) {
                pictures_.push_back(control->Picture()->Name());
            }
        }
        pictures_.insert(pictures_.end(),
                         {"frmGraphics.pctStart", "frmGraphics.imgDigit(7)", "frmGraphics.pctAlphabet(1)",
                          "frmMain.pctBall(0)", "frmNothing.x"});
    }

    std::string Script() {
        std::string script = "seed " + std::to_string(random_()) + "\n";
        if (Roll(10) != 0) {
            script += "start\n";
        }
        if (Roll(3) != 0) {
            script += "click pctNew\n";
        }
        for (int lines = Uniform(0, 60); lines > 0; --lines) {
            script += Line() + "\n";
        }
        for (int checks = Uniform(0, 3); checks > 0; --checks) {
            script += Inspection() + "\n";
        }
        return script;
    }

    // A few changes of bytes and lines, never to the first line, which seeds the generator.
    std::string Mutate(std::string script) {
        const std::size_t keep = script.find('\n') + 1;
        for (int changes = Uniform(1, 4); changes > 0 && script.size() > keep; --changes) {
            const std::size_t at = Uniform(static_cast<int>(keep), static_cast<int>(script.size()));
            switch (Roll(6)) {
                case 0:
                    script.insert(at, 1, Junk());
                    break;
                case 1:
                    if (at < script.size()) {
                        script[at] = Junk();
                    }
                    break;
                case 2:
                    script.erase(at, Uniform(1, 8));
                    break;
                case 3:
                    script.insert(at, Line() + "\n");
                    break;
                case 4:
                    script.insert(at, std::string(Uniform(1, 5000), Roll(2) == 0 ? 'x' : ' '));
                    break;
                default:
                    script.resize(at);
                    break;
            }
        }
        return script;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    int Roll(int sides) { return Uniform(0, sides - 1); }
    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[Roll(static_cast<int>(from.size()))];
    }

    char Junk() {
        static constexpr char kSpecial[] = {'\0', '\t', '\r', '"', '\\', '(',
                                            ')',  ',',  '.',  '#', '-',  '\x7F'};
        return Roll(3) == 0 ? kSpecial[Roll(sizeof kSpecial)] : static_cast<char>(Uniform(0, 255));
    }

    // A whole number: mostly small, now and then at or beyond some limit.
    std::string Number(int low, int high) {
        static const std::vector<std::string> kEdges = {"-1",
                                                        "0",
                                                        "100",
                                                        "101",
                                                        "1025",
                                                        "1026",
                                                        "32767",
                                                        "32768",
                                                        "-32768",
                                                        "-32769",
                                                        "65535",
                                                        "70000",
                                                        "1000000",
                                                        "1000001",
                                                        "-1000001",
                                                        "20000001",
                                                        "2147483647",
                                                        "-2147483648",
                                                        "4294967296",
                                                        "9223372036854775807",
                                                        "-9223372036854775808",
                                                        "99999999999999999999",
                                                        "",
                                                        "1x",
                                                        "+1",
                                                        "0x10",
                                                        "1.5",
                                                        "nan",
                                                        "inf",
                                                        "1e400",
                                                        "-0",
                                                        "0.5",
                                                        "1e-400"};
        return Roll(40) == 0 ? Pick(kEdges) : std::to_string(Uniform(low, high));
    }

    // A pixel of the window, mostly on the board.
    std::string Point() {
        if (Roll(4) == 0) {
            return Number(-20, 680) + " " + Number(-20, 500);
        }
        return std::to_string(Uniform(12, 395)) + " " + std::to_string(Uniform(74, 457));
    }

    std::string Index(const Field& field) {
        std::string index;
        for (const int extent : field.shape) {
            index += index.empty() ? "(" : ",";
            index += Roll(10) == 0 ? Number(-2, extent + 2) : std::to_string(Roll(extent));
        }
        if (Roll(30) == 0) {
            index += Pick(std::vector<std::string>{"(", "(1,", "(a)", "()", "(1)(2)"});
        }
        return index.empty() || index.back() == ')' ? index : index + ")";
    }

    std::string Value(const Field& field) {
        if (field.name == "HighScoreNames") {
            return Pick(std::vector<std::string>{"ABC", "\"A B\"", "\"\"", "LONGERTHAN8", "a-Z", "\"\\\"\""});
        }
        if (field.name == "TimeLeft" || field.name == "LevelTime") {
            return Pick(std::vector<std::string>{"0.01", "0", "-0.5", "20", "3.5", "100000", "100001"});
        }
        if (field.name == "BallQuota" || field.name == "BallSpeed") {
            return Pick(std::vector<std::string>{"1", "1.5", "99.5", "100", "100.5", "0.2", "50", "32767"});
        }
        // Mostly inside the field's range, whose ends are whole numbers for every whole-number field.
        if (!field.range.empty() && Roll(10) != 0) {
            const std::size_t dots = field.range.find("..");
            const double low = std::stod(field.range.substr(0, dots));
            const double high = std::stod(field.range.substr(dots + 2));
            return Number(static_cast<int>(std::max(low, -1000.0)), static_cast<int>(std::min(high, 1000.0)));
        }
        return Number(-3, 400);
    }

    std::string Path() {
        static const std::vector<std::string> kPaths = {
            "timer.Enabled",  "clock_ms",       "ended",
            "focus",          "cursor",         "sounds.length",
            "store.Sound",    "window.drags",   "window.WindowState",
            "pctNew.visible", "fields.BallX.3", "controls.pctOk.left",
            "nothing.here",   "fields.length",  "imgScore(0).picture"};
        if (Roll(2) == 0) {
            const Field& field = Pick(MainFormFields());
            return field.name + (Roll(4) == 0 ? "" : Index(field)) + (Roll(6) == 0 ? ".length" : "");
        }
        return Pick(kPaths);
    }

    // A line of play or set-up; one in fifty is nonsense.
    std::string Line() {
        const int roll = Roll(100);
        if (roll < 20) {
            return "move " + Point();
        }
        if (roll < 26) {
            return (Roll(2) == 0 ? "press " : "release ") + Point() +
                   (Roll(2) == 0 ? "" : " " + Pick(std::vector<std::string>{"1", "2", "4", Number(0, 8)}));
        }
        if (roll < 34) {
            return "click " + (Roll(3) == 0 ? Pick(controls_) : Point());
        }
        if (roll < 40) {
            return "key " + Pick(std::vector<std::string>{"8", "13", "27", "65", "97", "48", Number(0, 255)});
        }
        if (roll < 43) {
            return "type " + Pick(std::vector<std::string>{"ABC", "q7", "\"A B\"", "abcdefghij", "#!"});
        }
        if (roll < 60) {
            return "tick" + (Roll(6) == 0 ? "" : " " + Number(0, 60));
        }
        if (roll < 64) {
            return "wait " + Number(0, 2000);
        }
        if (roll < 68) {
            return Pick(std::vector<std::string>{"minimize", "restore", "close", "dump", "# note", ""});
        }
        if (roll < 80) {
            const Field& field = Pick(MainFormFields());
            return "set " + field.name + Index(field) + " " + Value(field);
        }
        if (roll < 86) {
            const Procedure& procedure = Pick(MainFormProcedures());
            std::string line = "call " + std::string(procedure.name);
            for (std::size_t i = 0; i < procedure.arguments.size() + (Roll(20) == 0 ? 1 : 0); ++i) {
                line += " " + Number(-2, 110);
            }
            return line;
        }
        if (roll < 92) {
            std::string line = "random";
            if (Roll(10) == 0) {
                for (int n = 0; n < 1001; ++n) {
                    line += " 0";
                }
            }
            for (int n = Uniform(0, 8); n > 0; --n) {
                line += Roll(40) == 0 ? " " + Number(0, 1) : " 0." + std::to_string(Uniform(0, 99999));
            }
            return line;
        }
        if (roll < 94) {
            return "seed " + Number(0, 100000);
        }
        if (roll < 98) {
            return Inspection();
        }
        if (roll < 99) {
            return Pick(std::vector<std::string>{"fly", "expect-nothing", "\"unclosed", "tick 1 2", "move 1",
                                                 "press 1 2 3", "set", "call"});
        }
        std::string junk;
        for (int n = Uniform(0, 30); n > 0; --n) {
            const char c = Junk();
            junk += c == '\n' ? ' ' : c;
        }
        return junk;
    }

    // An inspection or an expectation, which seldom holds.
    std::string Inspection() {
        switch (Roll(8)) {
            case 0:
            case 1:
                return "expect " + Path() + " " + Number(-1, 2);
            case 2:
                return "expect-pixel " + Point() + " " +
                       Pick(std::vector<std::string>{"000000", "FFFFFF", "12", "GG0000"});
            case 3:
                return "expect-sprite " + Pick(pictures_) + " " + Point();
            case 4:
                return "expect-control " + Pick(controls_) + " shown 0 0 1 1 \"\"";
            case 5:
                return "shot out.png";
            case 6:
                return "sprite " + Pick(pictures_) + " s.png";
            default:
                return "dump";
        }
    }

    std::mt19937 random_;
    std::vector<std::string> controls_;
    std::vector<std::string> pictures_;
};

}  // namespace
}  // namespace quibbix

int main(int argc, char** argv) {
    using namespace quibbix;
    long seed = 1;
    long scripts = 1000;
    bool print = false;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string option = argv[i];
            if (option == "--print") {
                print = true;
            } else if (i + 1 < argc && (option == "--seed" || option == "--scripts")) {
                (option == "--seed" ? seed : scripts) = Count(argv[++i]);
            } else {
                throw std::invalid_argument(option);
            }
        }
    } catch (const std::exception&) {
        std::cerr << "usage: quibbix_runner_fuzzer [--seed N] [--scripts M] [--print]\n";
        return 2;
    }

    ScriptMaker maker(static_cast<std::uint32_t>(seed));
    long byStatus[3] = {};
    long lines = 0;
    for (long n = 0; n < scripts; ++n) {
        std::string script = maker.Script();
        if (n % 2 == 1) {
            script = maker.Mutate(std::move(script));
        }
        if (print) {
            std::cout << "# script " << n << "\n" << script << std::flush;
        }
        try {
            // Every other script also has its head run again, which doubles its cost.
            const Outcome outcome = Check(script, n % 2 == 0);
            ++byStatus[outcome.status];
            lines += outcome.status == 0 ? CountLines(script) : BlamedLine(outcome.err);
        } catch (const Violation& violation) {
            std::cerr << "script " << n << " of seed " << seed << ": " << violation.what() << "\n--- script\n"
                      << script << "---\n";
            return 1;
        }
    }
    std::cout << scripts << " scripts of seed " << seed << ", " << lines << " lines run: " << byStatus[0]
              << " ran to the end, " << byStatus[1] << " failed an expectation, " << byStatus[2]
              << " stopped at a bad line\n";
    return 0;
}
