// What one game tick costs with a full board and with a level's first two balls, alone and with
// the window's repaint that draws its balls, against the physical yardstick of one plain copy of
// the 384 x 384 board image; and what painting the whole window costs.
#include <benchmark/benchmark.h>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"
#include "shell/platform/Compositor.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {
namespace {

// A running game with balls in slots 0 to lastBall, all moving, and the pointer away from them.
struct RunningGame {
    explicit RunningGame(std::int16_t lastBall) {
        platform.Rng().Seed(2024);
        form.Load();
        form.pctNew_Click();
        form.LastBall = lastBall;
        form.BallsRemaining = lastBall;
        for (std::int16_t slot = 0; slot <= lastBall; ++slot) {
            form.PlaceBall(slot);
        }
        form.BallType[0] = kTargetBall;
        form.TimeLeft = 1e12;  // the clock never runs out during a measurement
    }

    HeadlessPlatform platform{"", "/opt/quibbix"};
    FrmMain form{platform.Services()};
};

// Ticks, each followed by the window's repaint of what changed when `repaint` is set: a tick only
// notes where its balls go, and the repaint draws them into window memory.
void RunTicks(benchmark::State& state, std::int16_t lastBall, bool repaint) {
    RunningGame game(lastBall);
    std::vector<Argb> windowMemory(std::size_t{654} * 472);
    Image window = Image::Borrowed(windowMemory.data(), 654, 472, Image::Stores::PastCache);
    Compose(game.form, window, window.Bounds());
    for (auto _ : state) {
        game.form.BallHandler();
        const std::vector<RectPx> changed = game.form.TakeDirty();
        if (repaint) {
            for (const RectPx& area : changed) {
                Compose(game.form, window, area);
            }
        }
        benchmark::DoNotOptimize(window.Row(0));
        benchmark::ClobberMemory();
    }
}

void BM_BallHandler101Balls(benchmark::State& state) {
    RunTicks(state, 100, false);
}
BENCHMARK(BM_BallHandler101Balls);

void BM_BallHandler2Balls(benchmark::State& state) {
    RunTicks(state, 1, false);
}
BENCHMARK(BM_BallHandler2Balls);

void BM_TickAndRepaint101Balls(benchmark::State& state) {
    RunTicks(state, 100, true);
}
BENCHMARK(BM_TickAndRepaint101Balls);

void BM_TickAndRepaint2Balls(benchmark::State& state) {
    RunTicks(state, 1, true);
}
BENCHMARK(BM_TickAndRepaint2Balls);

void BM_BoardCopy(benchmark::State& state) {
    const Image source(384, 384, Rgb(1, 2, 3));
    Image target(384, 384);
    for (auto _ : state) {
        CopyRect(target, 0, 0, 384, 384, source, 0, 0, RasterOp::SrcCopy);
        benchmark::DoNotOptimize(target.Row(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoardCopy);

void BM_ComposeWholeFrame(benchmark::State& state) {
    RunningGame game(100);
    game.form.BallHandler();
    Image frame(654, 472);
    for (auto _ : state) {
        Compose(game.form, frame, frame.Bounds());
        benchmark::DoNotOptimize(frame.Row(0));
    }
}
BENCHMARK(BM_ComposeWholeFrame);

}  // namespace
}  // namespace quibbix
