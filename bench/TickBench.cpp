// What one game tick costs with a full board, against the physical yardstick of one plain copy
// of the 384 x 384 board image, and what painting the whole window costs.
#include <benchmark/benchmark.h>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"
#include "shell/platform/Compositor.h"

namespace quibbix {
namespace {

// A running game with all 101 balls on the board and the pointer away from them.
struct FullBoard {
    FullBoard() {
        platform.Rng().Seed(2024);
        form.Load();
        form.pctNew_Click();
        form.LastBall = 100;
        form.BallsRemaining = 100;
        for (std::int16_t slot = 0; slot <= 100; ++slot) {
            form.PlaceBall(slot);
        }
        form.BallType[0] = kTargetBall;
        form.TimeLeft = 1e12;  // the clock never runs out during a measurement
    }

    HeadlessPlatform platform{"", "/opt/quibbix"};
    FrmMain form{platform.Services()};
};

void BM_BallHandler101Balls(benchmark::State& state) {
    FullBoard game;
    for (auto _ : state) {
        game.form.BallHandler();
        benchmark::DoNotOptimize(std::as_const(game.form.pctBoard).Surface().Row(0));
    }
}
BENCHMARK(BM_BallHandler101Balls);

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
    FullBoard game;
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
