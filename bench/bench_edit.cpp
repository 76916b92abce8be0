// One edit on the generated drawing of 200 000 entities as the editor does it: insert a
// line (undo step, re-parse), then undo it (re-parse). Each iteration is both.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench_drawing.h"
#include "edit/Editor.h"

namespace {

void BM_edit_insertLineThenUndo(benchmark::State& state)
{
    kerbon::bench::QuietUi ui;
    kerbon::Editor ed(ui);
    ed.setAreaSize(1000, 700);
    if (!ed.openfilewithname(kerbon::bench::drawingPath(state.range(0)))) {
        state.SkipWithError("cannot load the drawing");
        return;
    }
    const int lines = ed.dxf.count();
    for (auto _ : state) {
        if (ed.AddLine(0, 0, 0, 10, 10, 0) != kerbon::WriteStatus::Ok) {
            state.SkipWithError("the line was not written");
            return;
        }
        ed.Rckgngig1Click();
    }
    if (ed.dxf.count() != lines)
        state.SkipWithError("undo did not restore the drawing");
    state.counters["entities"] = double(ed.model.anzpoly);
    state.counters["lines"] = double(lines);
}

}  // namespace

BENCHMARK(BM_edit_insertLineThenUndo)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
