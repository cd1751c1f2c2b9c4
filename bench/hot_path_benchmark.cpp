// The program's own work on its hot path, with SDL replaced by the recording stand-in: the
// content rectangle, and the dispatch of a size change and of an event it ignores.
#include "app_state.h"
#include "content_rect.h"
#include "event_loop.h"
#include "sdl_stand_in.h"

#include <benchmark/benchmark.h>

namespace
{

void startStandIn()
{
    standIn::reset();
    appState = AppState{};
    startUp();
}

void BM_recomputeContentRect(benchmark::State &state)
{
    startStandIn();
    int width = 800;
    for (auto _ : state) {
        recomputeContentRect(width, 600);
        benchmark::DoNotOptimize(appState.contentRect);
        width = width == 2560 ? 800 : width + 1;
    }
}
BENCHMARK(BM_recomputeContentRect);

void BM_dispatchSizeChange(benchmark::State &state)
{
    startStandIn();
    appState.polledEvent = standIn::sizeChanged(2560, 1080);
    for (auto _ : state) {
        dispatchEvent();
        benchmark::DoNotOptimize(appState.contentRect);
    }
}
BENCHMARK(BM_dispatchSizeChange);

void BM_dispatchIgnoredEvent(benchmark::State &state)
{
    startStandIn();
    appState.polledEvent = standIn::mouseMotion(10, 10);
    for (auto _ : state) {
        dispatchEvent();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_dispatchIgnoredEvent);

} // namespace

BENCHMARK_MAIN();
