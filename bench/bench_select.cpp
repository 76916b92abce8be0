// Snapping and picking on the generated drawing of 200 000 entities, as on every mouse
// move: zoomed to the extents of a 1200 x 800 area and zoomed in 10 times about its
// centre, with the pick index and with the walk over every object (the tests' oracle).
// Each iteration is one call at the next of a fixed list of mouse positions. And moving
// the whole drawing: select all, move (the step and the re-parse).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench_drawing.h"
#include "edit/Editor.h"
#include "edit/PickIndex.h"

namespace {

struct Setup {
    kerbon::bench::QuietUi ui;
    kerbon::Editor ed{ui};
    kerbon::PickIndex index;
    std::vector<std::pair<double, double>> mouse;

    explicit Setup(bool zoomIn)
    {
        ed.setAreaSize(1200, 800);
        if (!ed.openfilewithname(kerbon::bench::drawingPath(200000)))
            return;
        if (zoomIn)
            ed.view.zoomAbout(600, 400, 10, ed.model);
        index.build(ed.model);
        std::mt19937 rng(5);
        for (int i = 0; i < 1000; ++i)
            mouse.emplace_back(double(rng() % 1200), double(rng() % 800));
    }
};

Setup& setup(bool zoomIn)
{
    static Setup extents(false), zoomed(true);
    return zoomIn ? zoomed : extents;
}

void BM_SnapPoints(benchmark::State& state)
{
    Setup& s = setup(state.range(0) != 0);
    const bool indexed = state.range(1) != 0;
    const kerbon::LayoutFilter f = s.ed.layoutFilter();
    size_t i = 0, snapped = 0;
    for (auto _ : state) {
        const auto [x, y] = s.mouse[i++ % s.mouse.size()];
        const kerbon::SnapResult r =
            kerbon::SnapPoints(s.ed.model, f, s.ed.view, x, y, x, y, false, indexed ? &s.index : nullptr);
        snapped += r.setted;
    }
    state.counters["snapped"] = double(snapped) / double(i);
}

void BM_Pick(benchmark::State& state)
{
    Setup& s = setup(state.range(0) != 0);
    const bool indexed = state.range(1) != 0;
    const kerbon::LayoutFilter f = s.ed.layoutFilter();
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const auto [x, y] = s.mouse[i++ % s.mouse.size()];
        const kerbon::PickResult r = kerbon::pickAt(s.ed.model, f, s.ed.view, x, y, false,
                                                    indexed ? &s.index : nullptr);
        hits += r.outcome != kerbon::PickOutcome::NothingHit;
    }
    state.counters["hit"] = double(hits) / double(i);
}

void BM_BuildPickIndex(benchmark::State& state)
{
    Setup& s = setup(false);
    for (auto _ : state)
        s.index.build(s.ed.model);
}

void BM_SelectAllMove(benchmark::State& state)
{
    kerbon::bench::QuietUi ui;
    kerbon::Editor ed(ui);
    ed.setAreaSize(1200, 800);
    if (!ed.openfilewithname(kerbon::bench::drawingPath(200000))) {
        state.SkipWithError("cannot load the drawing");
        return;
    }
    double d = 1;
    for (auto _ : state) {
        ed.AllesAuswhlen1Click();
        if (ed.MoveObjects(d, -d) != kerbon::TransformStatus::Ok) {
            state.SkipWithError("the move was refused");
            return;
        }
        d = -d;
    }
    state.counters["entities"] = double(ed.model.anzpoly);
    state.counters["changed_lines"] = double(ed.undos.back().actions.size());
}

}  // namespace

// Arguments: zoom (0 extents, 1 zoomed in 10x), index (1) or walk over every object (0).
BENCHMARK(BM_SnapPoints)->ArgsProduct({{0, 1}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->ArgsProduct({{0, 1}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPickIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllMove)->Unit(benchmark::kMillisecond)->Iterations(4);

BENCHMARK_MAIN();
