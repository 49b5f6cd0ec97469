// Plays the headless game at random and checks after every step what always holds; a seed always
// gives the same run.   quibbix_fuzzer [--seed N] [--seeds K] [--events M] [--scripts M]
// Events (the default): random player events, a fresh program on the same settings file whenever
// the player ends it; the one target, the ball count and the counters shown are checked after each.
// Scripts: the committed scenarios changed at random, each ending with status 0 and a silent error
// stream, or 1 or 2 and one printable "LINE N: ..."; the lines before a rejected one run alone the same.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "display/CounterFigures.h"
#include "game/FrmMain.h"
#include "scenario/FieldTable.h"
#include "scenario/ProcedureTable.h"
#include "shell/headless/HeadlessPlatform.h"
#include "shell/platform/PointPx.h"
#include "tests/common/RunScript.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

struct Violation : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw Violation(what);
    }
}

struct Random : std::mt19937 {
    using std::mt19937::mt19937;
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(*this); }
    std::uint32_t Next() { return static_cast<std::uint32_t>((*this)()); }
    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[Uniform(0, static_cast<int>(from.size()) - 1)];
    }
};

PointPx Centre(const Control& control) {
    const RectPx b = control.Bounds();
    return {b.left + b.Width() / 2, b.top + b.Height() / 2};
}

class Session {
public:
    explicit Session(std::uint32_t seed) : random_(seed) { Restart(); }

    long events = 0;

    // Of 10,000 events about 5,000 are ticks (some in bursts), 2,400 moves, 1,500 presses and
    // releases, 900 keys, a few changes of the clock, the quota or the window, and now and then the end.
    void Step() {
        if (platform_->Window().Ended()) {
            Restart();
        }
        FrmMain& f = *form_;
        const int roll = random_.Uniform(0, 9999);
        if (roll < 5030) {
            for (int n = roll < 5000 ? 1 : random_.Uniform(50, 1000); n > 1 && Tick(); --n) {
                Check();
            }
            Tick();
        } else if (roll < 7460) {
            const PointPx at = PointerTarget();
            f.PointerMoved(at.x, at.y, buttons_);
        } else if (roll < 8960) {
            static constexpr std::int16_t kButtons[] = {kLeftButton, kRightButton, kMiddleButton};
            const std::int16_t button = roll < 8060 ? kButtons[random_.Uniform(0, 2)] : kLeftButton;
            const PointPx at = roll < 7760 ? PointerTarget() : Centre(AnyControl());
            const int how = roll < 8060 ? random_.Uniform(0, 1) : 2;  // press, release, or both
            if (how != 1) {
                buttons_ = static_cast<std::int16_t>(buttons_ | button);
                f.ButtonPressed(at.x, at.y, button);
            }
            if (how != 0) {
                buttons_ = static_cast<std::int16_t>(buttons_ & ~button);
                f.ButtonReleased(at.x, at.y, button);
            }
        } else if (roll < 9840) {
            // Mostly what names are typed with, Backspace and Enter, and now and then any code.
            const int kind = random_.Uniform(0, 99);
            const int key = kind < 40   ? random_.Uniform('A', 'Z') + (kind % 2) * ('a' - 'A')
                            : kind < 60 ? random_.Uniform('0', '9')
                            : kind < 72 ? 8
                            : kind < 80 ? 13
                                        : random_.Uniform(0, 255);
            f.KeyPressed(static_cast<std::int16_t>(key));
        } else if (roll < 9870) {
            f.TimeLeft = random_.Uniform(1, 3000) / 1000.0;
            f.UpdateTimeLeft();
        } else if (roll < 9880) {
            f.BallQuota = 1.0 + 0.5 * random_.Uniform(0, 197);  // only quotas the game reaches
        } else if (roll < 9995) {
            f.WindowStateChanged(random_.Uniform(0, 1));  // minimized or restored
        } else if (const int way = random_.Uniform(0, 2); way == 2 || (way == 1 && !f.pctExit.Visible())) {
            f.CloseRequested();
        } else {
            const PointPx at = Centre(way == 0 ? f.pctExitIcon : f.pctExit);
            f.ButtonPressed(at.x, at.y, kLeftButton);
            f.ButtonReleased(at.x, at.y, kLeftButton);
        }
        Check();
    }

private:
    void Restart() {
        form_.reset();
        platform_ =
            std::make_unique<HeadlessPlatform>((folder_.Path() / "settings.ini").string(), "/opt/quibbix");
        platform_->Rng().Seed(random_.Next());
        form_ = std::make_unique<FrmMain>(platform_->Services());
        form_->Load();
        buttons_ = 0;
    }

    // As the scenario runner runs it; false when none is due.
    bool Tick() {
        const std::optional<std::int64_t> due = form_->Timer1.NextDue();
        if (!due || platform_->Window().Ended()) {
            return false;
        }
        platform_->Clock().Set(std::max(*due, platform_->Clock().NowMs()));
        form_->Timer1.Fire();
        return true;
    }

    // Often on a drawn pixel of the target where the next tick puts it, now and then on another
    // ball, else anywhere on the board or the window (654 x 472) and a little outside it.
    PointPx PointerTarget() {
        const FrmMain& f = *form_;
        const int roll = random_.Uniform(0, 99);
        if (roll < 38 && f.MaskCount > 0) {
            const int last = std::clamp<int>(f.LastBall, 0, kLastSlot);
            int slot = random_.Uniform(0, last);
            for (int s = 0; roll < 30 && s <= last; ++s) {
                slot = f.BallActive[s] != kFalse && f.BallType[s] == kTargetBall ? s : slot;
            }
            const int pixel = random_.Uniform(0, f.MaskCount - 1);
            return {12 + f.BallX[slot] + f.BallDX[slot] + f.MaskX[pixel],
                    74 + f.BallY[slot] + f.BallDY[slot] + f.MaskY[pixel]};
        }
        if (roll < 70) {
            return {random_.Uniform(12, 12 + 383), random_.Uniform(74, 74 + 383)};
        }
        return {random_.Uniform(-20, 674), random_.Uniform(-20, 492)};
    }

    // A visible control, the buttons that change games and screens twice as often.
    const Control& AnyControl() {
        const FrmMain& f = *form_;
        const Control* const controls[] = {
            &f.pctNew,      &f.pctOk,        &f.pctAboutText,  &f.pctNew,
            &f.pctOk,       &f.pctAboutText, &f.pctReset,      &f.pctHighScores,
            &f.pctSound,    &f.pctAbout,     &f.pctBoard,      &f.pctHighScore,
            &f.pctGameOver, &f.pctScore,     &f.pctVersion[1], &f.pctMinimizeIcon};
        for (int tries = 0; tries < 8; ++tries) {
            const Control* control = controls[random_.Uniform(0, std::size(controls) - 1)];
            if (control->Visible()) {
                return *control;
            }
        }
        return f.pctMinimizeIcon;
    }

    void Check() {
        ++events;
        const FrmMain& f = *form_;
        Require(f.LastBall <= kLastSlot, "LastBall is " + std::to_string(f.LastBall));
        if (f.GameActive != kFalse && f.Timer1.Enabled()) {
            int active = 0;
            int targets = 0;
            for (int slot = 0; slot <= f.LastBall; ++slot) {
                active += f.BallActive[slot] != kFalse ? 1 : 0;
                targets += f.BallActive[slot] != kFalse && f.BallType[slot] == kTargetBall ? 1 : 0;
            }
            Require(f.LastBall >= 0 && f.BallsRemaining == active - 1 && targets == 1,
                    std::to_string(active) + " balls and " + std::to_string(targets) + " targets in play");
        }
        CheckCounter(f.imgScore, f.Score, "score");
        CheckCounter(f.imgLevel, f.Level, "level");
        CheckCounter(f.imgTime, ShownSeconds(f.TimeLeft), "time");
        CheckCounter(f.imgBalls, std::int64_t{f.BallsRemaining} + 1, "balls");
    }

    // Units first; a value too large shows nines, a negative one zeros.
    template <std::size_t N>
    void CheckCounter(const std::array<ImageControl, N>& cells, std::int64_t value, const char* name) const {
        value = std::clamp<std::int64_t>(value, 0, static_cast<std::int64_t>(std::pow(10, N)) - 1);
        for (std::size_t i = 0; i < N; ++i, value /= 10) {
            Require(cells[i].Picture() == form_->frmGraphics.imgDigit[value % 10].Picture(),
                    std::string("the ") + name + " counter's cell " + std::to_string(i) + " is wrong");
        }
    }

    Random random_;
    TempFolder folder_;
    std::unique_ptr<HeadlessPlatform> platform_;
    std::unique_ptr<FrmMain> form_;
    std::int16_t buttons_ = 0;
};

long CountLines(const std::string& script) {
    return std::count(script.begin(), script.end(), '\n') + (script.empty() || script.back() == '\n' ? 0 : 1);
}

// Runs the script, pictures never written (a changed `shot` could name any path), and checks the
// outcome; returns the lines it ran. A `seeded` script's lines before a rejected one print the same alone.
long CheckScript(const std::string& script, bool seeded, long byStatus[3]) {
    const auto run = [](const std::string& text) {
        return RunScript(text, [](const std::string&, const Image&) { return true; });
    };
    const ScriptOutcome outcome = run(script);
    Require(outcome.status >= 0 && outcome.status <= 2, "status " + std::to_string(outcome.status));
    ++byStatus[outcome.status];
    if (outcome.status == 0) {
        Require(outcome.err.empty(), "status 0 with an error: " + outcome.err);
        return CountLines(script);
    }
    const std::string& err = outcome.err;
    Require(err.starts_with("LINE ") && err.size() < 512 && err.find('\n') == err.size() - 1 &&
                std::all_of(err.begin(), err.end() - 1, [](char c) { return c >= 0x20 && c < 0x7F; }),
            "not one printable LINE error: " + err);
    const std::size_t digits = err.find_first_not_of("0123456789", 5);
    const long line =
        digits > 5 && digits < 15 && err.compare(digits, 2, ": ") == 0 ? std::stol(err.substr(5)) : 0;
    Require(line >= 1 && line <= CountLines(script), "no line of the script named: " + err);
    if (seeded && outcome.status == 2) {
        std::size_t end = 0;
        for (long n = 1; n < line; ++n) {
            end = script.find('\n', end) + 1;
        }
        const ScriptOutcome head = run(script.substr(0, end));
        Require(head.status == 0 && head.out == outcome.out,
                "the lines before the bad one run otherwise alone");
    }
    return line;
}

// The committed scenarios, which use every command, seeded on their first line and changed in a few
// places by junk, cuts, lines of others, any field set, any procedure called, numbers past every limit.
class ScriptMaker {
public:
    ScriptMaker(std::uint32_t seed, const fs::path& scenarios) : random_(seed) {
        for (const auto& entry : fs::directory_iterator(scenarios)) {
            corpus_.push_back(TempFolder::Contents(entry.path()));
        }
        std::sort(corpus_.begin(), corpus_.end());  // the same scripts for a seed, whatever the order
        for (const std::string& script : corpus_) {
            std::istringstream lines(script);
            for (std::string line; std::getline(lines, line);) {
                lines_.push_back(line);
            }
        }
        std::istringstream edges(
            "-1 0 100 101 1025 1026 32767 32768 -32768 -32769 65535 70000 1000000 1000001 -1000001 20000001 "
            "2147483647 -2147483648 4294967296 9223372036854775807 -9223372036854775808 99999999999999999999 "
            "1x +1 0x10 1.5 nan inf 1e400 -0 0.5 1e-400 -");
        for (std::string edge; edges >> edge;) {
            edges_.push_back(edge == "-" ? "" : edge);
        }
        Require(!corpus_.empty(), "no scenarios in " + scenarios.string());
    }

    std::string Script() {
        std::string script = "seed " + std::to_string(random_.Next()) + "\n" + random_.Pick(corpus_);
        const std::size_t keep = script.find('\n') + 1;
        for (int changes = random_.Uniform(1, 6); changes > 0 && script.size() > keep; --changes) {
            const std::size_t at = random_.Uniform(static_cast<int>(keep), static_cast<int>(script.size()));
            const std::size_t digits = script.find_first_of("0123456789", at);
            const int how = random_.Uniform(0, 6);
            if (how == 0) {
                const std::string_view special("\0\t\r\"\\(),.#-\x7F", 12);
                script.insert(at, 1,
                              random_.Uniform(0, 2) == 0 ? special[random_.Uniform(0, 11)]
                                                         : static_cast<char>(random_.Uniform(0, 255)));
            } else if (how == 1) {
                script.erase(at, random_.Uniform(1, 8));
            } else if (how == 2) {
                script.insert(at, Line() + "\n");
            } else if (how == 3) {
                script.insert(at, std::string(random_.Uniform(1, 5000), random_.Uniform(0, 1) ? 'x' : ' '));
            } else if (how == 4) {
                script.resize(at);
            } else if (digits != std::string::npos) {
                script.replace(digits, script.find_first_not_of("0123456789", digits) - digits, Edge());
            }
        }
        return script;
    }

private:
    std::string Edge() {
        return random_.Uniform(0, 1) ? random_.Pick(edges_) : std::to_string(random_.Uniform(-3, 400));
    }

    // A line of another scenario, or a field set or a procedure called with any numbers.
    std::string Line() {
        if (random_.Uniform(0, 2) == 0) {
            const Field& field = random_.Pick(MainFormFields());
            std::string line = "set " + field.name;
            for (std::size_t i = 0; i < field.shape.size(); ++i) {
                line += i == 0 ? '(' : ',';
                line += std::to_string(random_.Uniform(-1, field.shape[i]));
            }
            return line + (field.shape.empty() ? " " : ") ") + Edge();
        }
        if (random_.Uniform(0, 1) == 0) {
            const Procedure& procedure = random_.Pick(MainFormProcedures());
            std::string line = "call " + std::string(procedure.name);
            for (std::size_t i = 0; i < procedure.arguments.size() + (random_.Uniform(0, 19) == 0); ++i) {
                line +=
                    ' ' + (random_.Uniform(0, 2) == 0 ? Edge() : std::to_string(random_.Uniform(-2, 110)));
            }
            return line;
        }
        return random_.Pick(lines_);
    }

    Random random_;
    std::vector<std::string> corpus_;
    std::vector<std::string> lines_;
    std::vector<std::string> edges_;
};

}  // namespace
}  // namespace quibbix

int main(int argc, char** argv) {
    using namespace quibbix;
    long seed = 1, seeds = 1, events = 200000, scripts = 0;
    const std::pair<std::string, long*> counts[] = {
        {"--seed", &seed}, {"--seeds", &seeds}, {"--events", &events}, {"--scripts", &scripts}};
    for (int i = 1; i < argc; i += 2) {
        const auto count = std::find_if(std::begin(counts), std::end(counts),
                                        [&](const auto& c) { return c.first == argv[i]; });
        char* end = nullptr;
        if (count == std::end(counts) || i + 1 == argc ||
            (*count->second = std::strtol(argv[i + 1], &end, 10)) < 0 || *end != '\0' || end == argv[i + 1]) {
            std::cerr << "usage: " << argv[0] << " [--seed N] [--seeds K] [--events M] [--scripts M]\n";
            return 2;
        }
    }
    try {
        if (scripts > 0) {
            ScriptMaker maker(static_cast<std::uint32_t>(seed), QUIBBIX_SCENARIOS);
            long byStatus[3] = {}, lines = 0;
            for (long n = 0; n < scripts; ++n) {
                const std::string script = maker.Script();
                try {
                    lines += CheckScript(script, n % 2 == 0, byStatus);  // every other head runs again
                } catch (const Violation& violation) {
                    throw Violation("script " + std::to_string(n) + ": " + violation.what() +
                                    "\n--- script\n" + script + "---");
                }
            }
            std::cout << scripts << " scripts of seed " << seed << ", " << lines
                      << " lines run: " << byStatus[0] << " ran to the end, " << byStatus[1]
                      << " failed an expectation, " << byStatus[2] << " stopped at a bad line\n";
        }
        for (long s = seed; scripts == 0 && s < seed + seeds; ++s) {
            Session session(static_cast<std::uint32_t>(s));
            try {
                while (session.events < events) {
                    session.Step();
                }
            } catch (const Violation& violation) {
                throw Violation(std::string(violation.what()) + "\n  at event " +
                                std::to_string(session.events) + " of seed " + std::to_string(s));
            }
            std::cout << "seed " << s << ": " << session.events << " events passed" << std::endl;
        }
    } catch (const Violation& violation) {
        std::cerr << "VIOLATION: " << violation.what() << "\n";
        return 1;
    }
    return 0;
}
