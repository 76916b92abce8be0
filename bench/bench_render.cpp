// The renderer's own work per repaint, on a surface that only counts: the generated
// large drawing at zoom to extents and zoomed in on about 1 % of it, with the extents
// cache kept between paints (as the editor keeps it) and built afresh.
// Pixels are measured by `kerbon-cli render FILE OUT.png --size 1920x1080 --repeat N`.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "drawing_gen.h"
#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "view/paint.h"

using namespace kerbon;

namespace {

class CountingSurface : public view::DrawSurface {
public:
    long calls = 0, points = 0;
    void strokePath(const view::Path& p, const view::Pen&) override { ++calls, points += long(p.elems.size()); }
    void fillPath(const view::Path& p, const view::Brush&) override { ++calls, points += long(p.elems.size()); }
    void fillRect(int, int, int, int, view::Rgb) override { ++calls; }
    void strokeRect(int, int, int, int, const view::Pen&) override { ++calls; }
    void drawText(std::string_view, double, double, double, view::Rgb) override { ++calls; }
    void setTransform(const view::Matrix&) override {}
    void resetTransform() override {}
    void save() override {}
    void restore() override {}
    void clipPath(const view::Path&, bool) override {}
    view::TextSize textSize(std::string_view t, double px) override { return {int(t.size() * px / 2), int(px)}; }
    void drawIcon(view::Icon, int, int) override { ++calls; }
};

struct Drawing {
    model::DisplayModel m;
    Drawing()
    {
        const std::string path = "/tmp/kerbon_bench_render.dxf";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return;
        bench::writeDrawing(f, 200000, 1);
        std::fclose(f);
        LineStore store;
        if (loadLines(path, store))
            processdxf(store, m);
        std::remove(path.c_str());
    }
};

Drawing& drawing()
{
    static Drawing d;
    return d;
}

void repaint(benchmark::State& state, double zoomIn, bool keepCache)
{
    model::DisplayModel& m = drawing().m;
    view::ViewState v;
    v.W = 1920, v.H = 1080;
    view::PageValues page;
    v.ZoomFullIn(m, page);
    if (zoomIn != 1)
        v.zoomAbout(v.W / 2, v.H / 2, zoomIn, m);
    view::RenderCache cache;
    CountingSurface s;
    for (auto _ : state) {
        view::PaintBox1Paint(s, m, v, page, {}, 96, keepCache ? &cache : nullptr);
        benchmark::DoNotOptimize(s.calls);
    }
    state.counters["entities"] = m.anzpoly;
    state.counters["calls/paint"] = double(s.calls) / double(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(repaint, extents, 1.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(repaint, one_percent, 10.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(repaint, one_percent_fresh_cache, 10.0, false)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
