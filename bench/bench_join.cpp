// Join passes on closed outlines of shuffled LINE pieces: the indexed passes against the
// literal all-pairs rule (the tests' oracle), which is only run at sizes where it finishes;
// the plain rule, and all options on with a third of the pieces drawn the other way.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "../tests/nesting/contour_oracle.h"
#include "nesting/contour_model.h"

using namespace kerbon::contour;

namespace {

// Polygons of 3..40 sides, one two-vertex polyline per side, ends shifted by up to 0.002,
// in shuffled order; `reversed` of them run the other way.
ContourModel outlines(int pieces, double reversed = 0)
{
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> jitter(-0.002, 0.002);
    ContourModel m;
    const int columns = std::max(1, int(std::sqrt(pieces / 20.0)));
    for (int shape = 0; int(m.polys.size()) < pieces; ++shape) {
        const int sides = std::min(3 + int(rng() % 38), pieces - int(m.polys.size()));
        const double cx = shape % columns * 100.0, cy = shape / columns * 100.0;
        for (int s = 0; s < sides; ++s) {
            tpoly p;
            for (int e = 0; e < 2; ++e) {
                const double a = 2 * M_PI * ((s + e) % sides) / sides;
                Tmypoi v;
                v.x = cx + 30 * std::cos(a) + jitter(rng);
                v.y = cy + 30 * std::sin(a) + jitter(rng);
                p.ps.push_back(v);
            }
            p.anzp = 2;
            m.polys.push_back(std::move(p));
        }
    }
    std::shuffle(m.polys.begin(), m.polys.end(), rng);
    std::uniform_real_distribution<double> unit(0, 1);
    for (tpoly& p : m.polys)
        if (unit(rng) < reversed)
            std::swap(p.ps[0], p.ps[1]);
    m.anzpoly = int(m.polys.size());
    return m;
}

void BM_joinIndexed(benchmark::State& state)
{
    const ContourModel source = outlines(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ContourModel m = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(joinPasses(m, 0.01));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_joinAllPairs(benchmark::State& state)
{
    const ContourModel source = outlines(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ContourModel m = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(test::joinPassesOracle(m, 0.01));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

const JoinOptions allOptions{true, true, true};

void BM_joinIndexedAllOptions(benchmark::State& state)
{
    const ContourModel source = outlines(int(state.range(0)), 0.3);
    for (auto _ : state) {
        state.PauseTiming();
        ContourModel m = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(joinPasses(m, 0.01, allOptions));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_joinAllPairsAllOptions(benchmark::State& state)
{
    const ContourModel source = outlines(int(state.range(0)), 0.3);
    for (auto _ : state) {
        state.PauseTiming();
        ContourModel m = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(test::joinPassesOracle(m, 0.01, allOptions));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_joinIndexed)->Arg(2000)->Arg(8000)->Arg(32000)->Arg(200000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_joinAllPairs)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_joinIndexedAllOptions)->Arg(2000)->Arg(8000)->Arg(200000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_joinAllPairsAllOptions)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
