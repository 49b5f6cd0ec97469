// Plays the headless game at random, two ways, and checks after every step what always holds.
//
// Events (the default): long random sequences of player events, a fresh program whenever the
// player ends it, on a settings file that carries the table on; after every event the ball count,
// the one target, the counters, the name being typed and the screen shown are checked. --trace
// prints the events as scenario lines: from the last `seed` line on, quibbix-scenario replays the
// failing program.
//
// Scripts (--scripts M): the committed scenarios, changed at random in a few places (junk bytes,
// cuts, other lines, any field set, any procedure called, numbers at and beyond every limit), run
// in-process exactly as quibbix-scenario runs them. Each ends with status 0, 1
// or 2; nothing on the error stream after 0, else one printable line "LINE N: ..." naming a line of
// the script; and a rejected line stops the script where it stands, so the lines before it alone
// run the same and succeed. --trace prints each script before it runs.
//
// A seed always gives the same run, and a shorter run is the start of a longer one.
//
//   quibbix_fuzzer [--seed N] [--seeds K] [--events M] [--trace]
//   quibbix_fuzzer [--seed N] --scripts M [--trace]
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
#include "scenario/ScenarioRunner.h"
#include "shell/headless/HeadlessPlatform.h"
#include "tests/common/RunScript.h"

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

// The window and the board inside it, in window pixels.
constexpr int kWindowWidth = 654;
constexpr int kWindowHeight = 472;
constexpr int kBoardLeft = 12;
constexpr int kBoardTop = 74;
constexpr int kBoardSize = 384;

// How deep the runs got, to tell that the events drive the game far enough.
struct Coverage {
    long ticks = 0;
    long games = 0;
    long levels = 0;
    long entries = 0;
    long starts = 0;
    int mostBalls = 0;
    int highestLevel = 0;
};

// The shortest text that reads back as the same double.
std::string Exact(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct Point {
    int x;
    int y;
};

Point Centre(const Control& control) {
    const RectPx bounds = control.Bounds();
    return {bounds.left + bounds.Width() / 2, bounds.top + bounds.Height() / 2};
}

// One seed's run: a program that is started afresh whenever the player ends it, on a settings
// file that carries the table from one program to the next.
class Session {
public:
    Session(std::uint32_t seed, fs::path settings, std::ostream* trace, Coverage& coverage)
        : random_(seed), settings_(std::move(settings)), trace_(trace), coverage_(coverage) {
        fs::remove(settings_);
        Restart();
    }
    ~Session() { fs::remove(settings_); }

    long Events() const { return events_; }

    // Runs one event, or a burst of ticks of at most `budget` events, checking after each. Out of
    // 10,000 events: about 5,000 ticks, 2,400 pointer moves, 600 presses or releases, 900 clicks,
    // 900 keys, a few changes of the clock, the quota or the window, and now and then the end.
    void Step(long budget) {
        if (platform_->Window().Ended()) {
            Restart();
        }
        const int roll = Uniform(0, 9999);
        if (roll < 5000) {
            Tick();
        } else if (roll < 5030) {
            // A burst of ticks, each an event of its own.
            for (long n = std::min<long>(Uniform(50, 1000), budget); n > 1 && Tick(); --n) {
                Check();
            }
            Tick();
        } else if (roll < 7460) {
            Move(PointerTarget());
        } else if (roll < 8060) {
            PressOrRelease();
        } else if (roll < 8960) {
            Click(Centre(AnyControl()));
        } else if (roll < 9840) {
            PressKey();
        } else if (roll < 9870) {
            const double seconds = Uniform(1, 3000) / 1000.0;
            Trace("set TimeLeft ", Exact(seconds), "\ncall UpdateTimeLeft");
            form_->TimeLeft = seconds;
            form_->UpdateTimeLeft();
        } else if (roll < 9880) {
            // Only quotas the game reaches itself: 1, 1.5, ... 99.5.
            const double quota = 1.0 + 0.5 * Uniform(0, 197);
            Trace("set BallQuota ", Exact(quota));
            form_->BallQuota = quota;
        } else if (roll < 9995) {
            const int state = Uniform(0, 1);
            Trace(state == 1 ? "minimize" : "restore");
            form_->WindowStateChanged(state);
        } else {
            Leave();
        }
        Check();
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    template <typename... Parts>
    void Trace(const Parts&... parts) {
        if (trace_ != nullptr) {
            ((*trace_ << parts), ...) << '\n';
        }
    }

    void Restart() {
        form_.reset();
        platform_ = std::make_unique<HeadlessPlatform>(settings_.string(), "/opt/quibbix");
        const auto gameSeed = static_cast<std::uint32_t>(random_());
        platform_->Rng().Seed(gameSeed);
        Trace("# a fresh program\nseed ", gameSeed, "\nstart");
        form_ = std::make_unique<FrmMain>(platform_->Services());
        form_->Load();
        // What the program read from the settings file, for a replay that starts here.
        for (int rank = 1; rank <= kRanks; ++rank) {
            if (!form_->HighScoreNames[rank].empty()) {
                Trace("set HighScoreNames(", rank, ") ", form_->HighScoreNames[rank]);
            }
            if (form_->HighScores[rank] != 0) {
                Trace("set HighScores(", rank, ") ", form_->HighScores[rank]);
            }
        }
        if (form_->SoundOn()) {
            Trace("click pctSound");
        }
        buttons_ = 0;
        ++coverage_.starts;
    }

    // The timer's next tick, run exactly as the scenario runner runs it; false when none is due.
    bool Tick() {
        const std::optional<std::int64_t> due = form_->Timer1.NextDue();
        if (!due || platform_->Window().Ended()) {
            return false;
        }
        Trace("tick");
        platform_->Clock().Set(std::max(*due, platform_->Clock().NowMs()));
        form_->Timer1.Fire();
        ++coverage_.ticks;
        return true;
    }

    // Often on the target, now and then on another ball, else anywhere on the board or the window
    // and a little outside it. A pointer resting on a plain ball adds a ball every tick.
    Point PointerTarget() {
        const FrmMain& f = *form_;
        const int roll = Uniform(0, 99);
        if (roll < 38 && f.MaskCount > 0) {
            const int last = std::clamp<int>(f.LastBall, 0, kLastSlot);
            int slot = Uniform(0, last);
            for (int s = 0; roll < 30 && s <= last; ++s) {
                slot = f.BallActive[s] != kFalse && f.BallType[s] == kTargetBall ? s : slot;
            }
            // One of the ball's drawn pixels where the next tick will put it.
            const int pixel = Uniform(0, f.MaskCount - 1);
            return {kBoardLeft + f.BallX[slot] + f.BallDX[slot] + f.MaskX[pixel],
                    kBoardTop + f.BallY[slot] + f.BallDY[slot] + f.MaskY[pixel]};
        }
        if (roll < 70) {
            return {Uniform(kBoardLeft, kBoardLeft + kBoardSize - 1),
                    Uniform(kBoardTop, kBoardTop + kBoardSize - 1)};
        }
        return {Uniform(-20, kWindowWidth + 20), Uniform(-20, kWindowHeight + 20)};
    }

    void Move(Point at) {
        Trace("move ", at.x, " ", at.y);
        form_->PointerMoved(at.x, at.y, buttons_);
    }

    void PressOrRelease() {
        static constexpr std::int16_t kButtons[] = {kLeftButton, kRightButton, kMiddleButton};
        const std::int16_t button = kButtons[Uniform(0, 2)];
        const Point at = Uniform(0, 1) == 0 ? PointerTarget() : Centre(AnyControl());
        if (Uniform(0, 1) == 0) {
            Trace("press ", at.x, " ", at.y, " ", button);
            buttons_ = static_cast<std::int16_t>(buttons_ | button);
            form_->ButtonPressed(at.x, at.y, button);
        } else {
            Trace("release ", at.x, " ", at.y, " ", button);
            buttons_ = static_cast<std::int16_t>(buttons_ & ~button);
            form_->ButtonReleased(at.x, at.y, button);
        }
    }

    void Click(Point at) {
        Trace("click ", at.x, " ", at.y);
        form_->ButtonPressed(at.x, at.y, kLeftButton);
        form_->ButtonReleased(at.x, at.y, kLeftButton);
    }

    // A visible control, favouring the buttons that change games and screens.
    const Control& AnyControl() {
        const FrmMain& f = *form_;
        const std::pair<const Control*, int> weighted[] = {
            {&f.pctNew, 12},       {&f.pctOk, 6},          {&f.pctReset, 2},     {&f.pctHighScores, 3},
            {&f.pctSound, 2},      {&f.pctAbout, 3},       {&f.pctAboutText, 6}, {&f.pctBoard, 1},
            {&f.pctHighScore, 1},  {&f.pctGameOver, 1},    {&f.pctScore, 1},     {&f.imgTime[0], 1},
            {&f.pctVersion[1], 1}, {&f.pctMinimizeIcon, 1}};
        int total = 0;
        for (const auto& [control, weight] : weighted) {
            total += control->Visible() ? weight : 0;
        }
        int pick = total > 0 ? Uniform(0, total - 1) : 0;
        for (const auto& [control, weight] : weighted) {
            if (control->Visible() && (pick -= weight) < 0) {
                return *control;
            }
        }
        return f.pctMinimizeIcon;
    }

    // Mostly what names are typed with, Backspace and Enter, and now and then any code at all.
    void PressKey() {
        const int roll = Uniform(0, 99);
        int key = Uniform(0, 255);
        if (roll < 40) {
            key = Uniform(0, 1) == 0 ? Uniform('A', 'Z') : Uniform('a', 'z');
        } else if (roll < 60) {
            key = Uniform('0', '9');
        } else if (roll < 72) {
            key = 8;
        } else if (roll < 80) {
            key = 13;
        }
        Trace("key ", key);
        form_->KeyPressed(static_cast<std::int16_t>(key));
    }

    // The exit icon, EXIT, or the desktop closing the window: the program ends.
    void Leave() {
        const int way = Uniform(0, 2);
        if (way == 0) {
            Click(Centre(form_->pctExitIcon));
        } else if (way == 1 && form_->pctExit.Visible()) {
            Click(Centre(form_->pctExit));
        } else {
            Trace("close");
            form_->CloseRequested();
        }
    }

    void Check() {
        ++events_;
        const FrmMain& f = *form_;
        Require(f.LastBall <= kLastSlot, "LastBall is " + std::to_string(f.LastBall));
        if (f.GameActive != kFalse && f.Timer1.Enabled()) {
            Require(f.LastBall >= 0, "LastBall is " + std::to_string(f.LastBall) + " during a level");
            int active = 0;
            int targets = 0;
            for (int slot = 0; slot <= f.LastBall; ++slot) {
                active += f.BallActive[slot] != kFalse ? 1 : 0;
                targets += f.BallActive[slot] != kFalse && f.BallType[slot] == kTargetBall ? 1 : 0;
            }
            Require(f.BallsRemaining == active - 1, "BallsRemaining is " + std::to_string(f.BallsRemaining) +
                                                        " with " + std::to_string(active) + " balls in play");
            Require(targets == 1, std::to_string(targets) + " target balls in play");
        }
        CheckCounter(f.imgScore, f.Score, "score");
        CheckCounter(f.imgLevel, f.Level, "level");
        CheckCounter(f.imgTime, ShownSeconds(f.TimeLeft), "time");
        CheckCounter(f.imgBalls, std::int64_t{f.BallsRemaining} + 1, "balls");
        if (f.NameEntryActive != kFalse) {
            Require(f.NewEntryRank >= 1 && f.NewEntryRank <= kRanks,
                    "a name is typed for rank " + std::to_string(f.NewEntryRank));
            const std::string& name = f.HighScoreNames[f.NewEntryRank];
            const auto typable = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
            Require(f.EntryColumn >= 1 && f.EntryColumn <= 7 &&
                        name.size() == static_cast<std::size_t>(f.EntryColumn - 1) &&
                        std::all_of(name.begin(), name.end(), typable),
                    "the name typed is \"" + name + "\" at column " + std::to_string(f.EntryColumn));
        }
        CheckScreen();

        coverage_.games += f.GameActive != kFalse && !wasActive_ ? 1 : 0;
        coverage_.levels += f.GameActive != kFalse && wasActive_ && f.Level > lastLevel_ ? 1 : 0;
        coverage_.entries += f.NameEntryActive != kFalse && !wasEntry_ ? 1 : 0;
        coverage_.mostBalls = std::max<int>(coverage_.mostBalls, f.LastBall + 1);
        coverage_.highestLevel = std::max<int>(coverage_.highestLevel, f.Level);
        wasActive_ = f.GameActive != kFalse;
        wasEntry_ = f.NameEntryActive != kFalse;
        lastLevel_ = f.Level;
    }

    // Each cell shows the library's own figure picture for its digit of the value, units first;
    // a value too large for the counter shows nines, a negative one zeros.
    template <std::size_t N>
    void CheckCounter(const std::array<ImageControl, N>& cells, std::int64_t value, const char* name) const {
        std::int64_t largest = 1;
        for (std::size_t i = 0; i < N; ++i) {
            largest *= 10;
        }
        value = std::clamp<std::int64_t>(value, 0, largest - 1);
        for (std::size_t i = 0; i < N; ++i, value /= 10) {
            const PictureRef& shown = cells[i].Picture();
            Require(shown == form_->frmGraphics.imgDigit[value % 10].Picture(),
                    std::string("the ") + name + " counter's cell " + std::to_string(i) + " shows " +
                        (shown ? shown->Name() : "nothing") + " for the figure " +
                        std::to_string(value % 10));
        }
    }

    void CheckScreen() const {
        const FrmMain& f = *form_;
        const auto all = [](std::initializer_list<const Control*> controls, bool visible) {
            return std::all_of(controls.begin(), controls.end(),
                               [visible](const Control* c) { return c->Visible() == visible; });
        };
        const bool playfield =
            all({&f.pctBoard, &f.pctNew, &f.pctExit, &f.pctScore, &f.pctLevel, &f.pctTime, &f.pctBalls},
                true) &&
            all({&f.pctHighScore, &f.pctOk, &f.pctAboutText}, false);
        const std::initializer_list<const Control*> betweenGames = {&f.pctHighScores, &f.pctAbout,
                                                                    &f.pctSound};
        const bool main = playfield && all(betweenGames, true);
        const bool game = playfield && all(betweenGames, false);
        const bool about =
            all({&f.pctAboutText, &f.pctVersion[0], &f.pctVersion[1], &f.pctVersion[2]}, true) &&
            !f.pctBoard.Visible();
        const bool scores = all({&f.pctHighScore, &f.pctOk}, true) && !f.pctBoard.Visible();
        Require(main || game || about || scores, "the controls shown make no screen");
        Require(f.GameActive == kFalse || game, "a game runs outside the game screen");
        Require(all({&f.pctMinimizeIcon, &f.pctExitIcon}, true), "a window icon is hidden");
    }

    std::mt19937 random_;
    fs::path settings_;
    std::ostream* trace_;
    Coverage& coverage_;
    std::unique_ptr<HeadlessPlatform> platform_;
    std::unique_ptr<FrmMain> form_;
    std::int16_t buttons_ = 0;
    long events_ = 0;
    bool wasActive_ = false;
    bool wasEntry_ = false;
    int lastLevel_ = 0;
};

// Pictures are made but never written: a mutated `shot` could name any path.
ScriptOutcome RunScriptUnwritten(const std::string& script) {
    return RunScript(script, [](const std::string&, const Image&) { return true; });
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
ScriptOutcome Check(const std::string& script, bool deterministic) {
    const ScriptOutcome outcome = RunScriptUnwritten(script);
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
        const ScriptOutcome head = RunScriptUnwritten(Head(script, line - 1));
        Require(head.status == 0, "the lines before the bad one fail alone: " + head.err);
        Require(head.out == outcome.out, "the bad line printed something");
    }
    return outcome;
}

// Scripts made from the committed scenarios, which use every command of the runner: each seeded on
// its first line and then changed in a few places by junk bytes, cuts, lines of other scenarios,
// settings of any field and calls of any procedure, and numbers at and beyond every limit.
class ScriptMaker {
public:
    ScriptMaker(std::uint32_t seed, const fs::path& scenarios) : random_(seed) {
        for (const auto& entry : fs::directory_iterator(scenarios)) {
            std::ifstream in(entry.path(), std::ios::binary);
            corpus_.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::sort(corpus_.begin(),
                  corpus_.end());  // the same scripts for a seed, whatever the folder's order
        for (const std::string& script : corpus_) {
            std::istringstream lines(script);
            for (std::string line; std::getline(lines, line);) {
                lines_.push_back(line);
            }
        }
        Require(!corpus_.empty(), "no scenarios in " + scenarios.string());
    }

    std::string Script() { return "seed " + std::to_string(random_()) + "\n" + Pick(corpus_); }

    // A few changes of bytes, lines and numbers, never to the first line, which seeds the generator.
    std::string Mutate(std::string script) {
        const std::size_t keep = script.find('\n') + 1;
        for (int changes = Uniform(1, 6); changes > 0 && script.size() > keep; --changes) {
            const std::size_t at = Uniform(static_cast<int>(keep), static_cast<int>(script.size()));
            const std::size_t digits = script.find_first_of("0123456789", at);
            switch (Roll(7)) {
                case 0:
                    script.insert(at, 1, Junk());
                    break;
                case 1:
                    script.erase(at, Uniform(1, 8));
                    break;
                case 2:
                    script.insert(at, Line() + "\n");
                    break;
                case 3:
                    script.insert(at, std::string(Uniform(1, 5000), Roll(2) == 0 ? 'x' : ' '));
                    break;
                case 4:
                    script.resize(at);
                    break;
                default:
                    if (digits != std::string::npos) {
                        script.replace(digits, script.find_first_not_of("0123456789", digits) - digits,
                                       Edge());
                    }
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

    // A number at or beyond some limit, or no number at all.
    std::string Edge() {
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
        return Roll(2) == 0 ? Pick(kEdges) : std::to_string(Uniform(-3, 400));
    }

    // A line of another scenario, or a field set or a procedure called with any numbers.
    std::string Line() {
        if (Roll(3) == 0) {
            const Field& field = Pick(MainFormFields());
            std::string line = "set " + field.name;
            for (std::size_t i = 0; i < field.shape.size(); ++i) {
                line += i == 0 ? '(' : ',';
                line += std::to_string(Uniform(-1, field.shape[i]));
            }
            line += field.shape.empty() ? " " : ") ";
            return line + Edge();
        }
        if (Roll(2) == 0) {
            const Procedure& procedure = Pick(MainFormProcedures());
            std::string line = "call " + std::string(procedure.name);
            for (std::size_t i = 0; i < procedure.arguments.size() + (Roll(20) == 0 ? 1 : 0); ++i) {
                line += ' ';
                line += Roll(3) == 0 ? Edge() : std::to_string(Uniform(-2, 110));
            }
            return line;
        }
        return Pick(lines_);
    }

    std::mt19937 random_;
    std::vector<std::string> corpus_;
    std::vector<std::string> lines_;
};

struct Options {
    long seed = 1;
    long seeds = 1;
    long events = 200000;
    long scripts = 0;
    bool trace = false;
};

// A count on the command line: a whole number of zero or more, nothing else.
long Count(const std::string& text) {
    std::size_t end = 0;
    const long value = std::stol(text, &end);
    if (end != text.size() || value < 0) {
        throw std::invalid_argument(text);
    }
    return value;
}

int FuzzEvents(const Options& options) {
    std::string folder = (fs::temp_directory_path() / "quibbix-events-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    Coverage coverage;
    long passed = 0;
    long failed = 0;
    for (long s = options.seed; s < options.seed + options.seeds && failed == 0; ++s) {
        Session session(static_cast<std::uint32_t>(s), fs::path(folder) / "settings.ini",
                        options.trace ? &std::cout : nullptr, coverage);
        try {
            while (session.Events() < options.events) {
                session.Step(options.events - session.Events());
            }
        } catch (const Violation& violation) {
            std::cout.flush();
            std::cerr << "VIOLATION: " << violation.what() << "\n  at event " << session.Events()
                      << " of seed " << s << "; replay: --seed " << s << " --events " << session.Events()
                      << " --trace\n";
            failed = 1;
        }
        passed += session.Events() - failed;
    }
    fs::remove_all(folder);
    std::cout << "reached: " << coverage.ticks << " ticks, " << coverage.games << " games, "
              << coverage.levels << " levels cleared (up to level " << coverage.highestLevel << "), "
              << coverage.mostBalls << " balls at most, " << coverage.entries << " names typed, "
              << coverage.starts << " program starts\n"
              << passed << " events passed, " << failed << " failed" << std::endl;
    return failed == 0 ? 0 : 1;
}

int FuzzScripts(const Options& options) {
    ScriptMaker maker(static_cast<std::uint32_t>(options.seed), QUIBBIX_SCENARIOS);
    long byStatus[3] = {};
    long lines = 0;
    for (long n = 0; n < options.scripts; ++n) {
        const std::string script = maker.Mutate(maker.Script());
        if (options.trace) {
            std::cout << "# script " << n << "\n" << script << std::flush;
        }
        try {
            // Every other script also has its head run again, which doubles its cost.
            const ScriptOutcome outcome = Check(script, n % 2 == 0);
            ++byStatus[outcome.status];
            lines += outcome.status == 0 ? CountLines(script) : BlamedLine(outcome.err);
        } catch (const Violation& violation) {
            std::cerr << "script " << n << " of seed " << options.seed << ": " << violation.what()
                      << "\n--- script\n"
                      << script << "---\n";
            return 1;
        }
    }
    std::cout << options.scripts << " scripts of seed " << options.seed << ", " << lines
              << " lines run: " << byStatus[0] << " ran to the end, " << byStatus[1]
              << " failed an expectation, " << byStatus[2] << " stopped at a bad line\n";
    return 0;
}

}  // namespace
}  // namespace quibbix

int main(int argc, char** argv) {
    using namespace quibbix;
    Options options;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string option = argv[i];
            if (option == "--trace") {
                options.trace = true;
            } else if (i + 1 < argc && option == "--seed") {
                options.seed = Count(argv[++i]);
            } else if (i + 1 < argc && option == "--seeds") {
                options.seeds = Count(argv[++i]);
            } else if (i + 1 < argc && option == "--events") {
                options.events = Count(argv[++i]);
            } else if (i + 1 < argc && option == "--scripts") {
                options.scripts = Count(argv[++i]);
            } else {
                throw std::invalid_argument(option);
            }
        }
    } catch (const std::logic_error& bad) {
        std::cerr << "bad argument: " << bad.what() << "\nusage: " << argv[0]
                  << " [--seed N] [--seeds K] [--events M] [--trace]\n       " << argv[0]
                  << " [--seed N] --scripts M [--trace]\n";
        return 2;
    }
    return options.scripts > 0 ? FuzzScripts(options) : FuzzEvents(options);
}
