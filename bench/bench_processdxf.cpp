// processdxf on a generated drawing of 200 000 mixed entities (about five million lines).
// The drawing is written once to /tmp (or taken from KERBON_BENCH_DRAWING) and loaded; the
// benchmark then re-parses it into the same model, as the editor does after every edit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_drawing.h"
#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "dxf/processdxf.h"

namespace {

const kerbon::LineStore& drawing(long entities)
{
    static kerbon::LineStore store;
    static long loaded = -1;
    if (loaded == entities)
        return store;
    const std::string path = kerbon::bench::drawingPath(entities);
    if (!kerbon::loadLines(path, store)) {
        std::fprintf(stderr, "bench_processdxf: cannot load %s\n", path.c_str());
        std::exit(1);
    }
    loaded = entities;
    return store;
}

void BM_processdxf_reparse(benchmark::State& state)
{
    const kerbon::LineStore& dxf = drawing(state.range(0));
    kerbon::model::DisplayModel m;
    kerbon::processdxf(dxf, m);  // the first parse allocates; the editor re-parses
    for (auto _ : state) {
        kerbon::processdxf(dxf, m);
        benchmark::DoNotOptimize(m.anzpoly);
    }
    state.counters["entities"] = double(m.anzpoly);
    state.counters["lines"] = double(dxf.count());
}

void BM_processdxf_fresh(benchmark::State& state)
{
    const kerbon::LineStore& dxf = drawing(state.range(0));
    for (auto _ : state) {
        kerbon::model::DisplayModel m;
        kerbon::processdxf(dxf, m);
        benchmark::DoNotOptimize(m.anzpoly);
        state.PauseTiming();
        m = {};  // freeing the model is not part of the parse
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_processdxf_reparse)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_processdxf_fresh)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
