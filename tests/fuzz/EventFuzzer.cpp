// Plays the headless game with long random sequences of player events and checks, after every
// event, what the game always keeps true. A seed always gives the same sequence, and a shorter run
// is the start of a longer one. --trace prints the events as scenario lines: from the last `seed`
// line on, quibbix-scenario replays the failing program.
//
//   quibbix_event_fuzzer [--seed N] [--events M] [--seeds K] [--trace]
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "CountOption.h"
#include "display/CounterFigures.h"
#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {
namespace {

namespace fs = std::filesystem;

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

struct Violation : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw Violation(what);
    }
}

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

}  // namespace
}  // namespace quibbix

int main(int argc, char** argv) {
    using namespace quibbix;
    long seed = 1;
    long events = 200000;
    long seeds = 1;
    bool trace = false;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string option = argv[i];
            if (option == "--trace") {
                trace = true;
            } else if (i + 1 < argc && (option == "--seed" || option == "--events" || option == "--seeds")) {
                (option == "--seed" ? seed : option == "--events" ? events : seeds) = Count(argv[++i]);
            } else {
                throw std::invalid_argument(option);
            }
        }
    } catch (const std::logic_error& bad) {
        std::cerr << "bad argument: " << bad.what() << "\nusage: " << argv[0]
                  << " [--seed N] [--events M] [--seeds K] [--trace]\n";
        return 2;
    }

    std::string folder = (fs::temp_directory_path() / "quibbix-events-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    Coverage coverage;
    long passed = 0;
    long failed = 0;
    for (long s = seed; s < seed + seeds && failed == 0; ++s) {
        Session session(static_cast<std::uint32_t>(s), fs::path(folder) / "settings.ini",
                        trace ? &std::cout : nullptr, coverage);
        try {
            while (session.Events() < events) {
                session.Step(events - session.Events());
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
