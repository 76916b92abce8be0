// Loading and saving the line list of a generated drawing of 200 000 mixed entities
// (about five million lines), in Windows-1252 and in UTF-16, the slowest of the encodings;
// and an insertion and erasure in the middle of those lines.
// The drawing is written once to /tmp; saving goes to /tmp as well and includes the sync.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "drawing_gen.h"
#include "dxf/LineStore.h"

namespace {

constexpr long entities = 200000;

// The drawing's path in the given encoding, written on first use.
std::string drawingPath(kerbon::Encoding e)
{
    const std::string ansi = "/tmp/kerbon_bench_drawing_" + std::to_string(entities) + ".dxf";
    if (FILE* f = std::fopen(ansi.c_str(), "rb")) {
        std::fclose(f);
    } else if (FILE* out = std::fopen(ansi.c_str(), "wb")) {
        kerbon::bench::writeDrawing(out, entities, 1);
        std::fclose(out);
    }
    if (e == kerbon::Encoding::Ansi)
        return ansi;
    const std::string path = "/tmp/kerbon_bench_linestore_" +
                             std::string(kerbon::encodingName(e)) + ".dxf";
    kerbon::LineStore s;
    if (!kerbon::loadLines(ansi, s))
        std::exit(1);
    s.lines.push_back("\u00C4\u00D6\u00DC \u2264 \u20AC");  // some text beyond ASCII
    s.encoding = e;
    if (!kerbon::saveLines(path, s))
        std::exit(1);
    return path;
}

void BM_loadLines(benchmark::State& state, kerbon::Encoding e)
{
    const std::string path = drawingPath(e);
    for (auto _ : state) {
        kerbon::LineStore s;
        if (!kerbon::loadLines(path, s))
            state.SkipWithError("cannot load");
        benchmark::DoNotOptimize(s.lines.front().data());
        state.counters["lines"] = double(s.count());
    }
}

void BM_saveLines(benchmark::State& state, kerbon::Encoding e)
{
    kerbon::LineStore s;
    if (!kerbon::loadLines(drawingPath(e), s))
        state.SkipWithError("cannot load");
    const std::string out = "/tmp/kerbon_bench_linestore_out.dxf";
    for (auto _ : state)
        if (!kerbon::saveLines(out, s))
            state.SkipWithError("cannot save");
    std::remove(out.c_str());
}

// One line inserted in the middle of the drawing's lines and erased again, as an edit
// there does to the store.
void BM_insertEraseMiddle(benchmark::State& state)
{
    kerbon::LineStore s;
    if (!kerbon::loadLines(drawingPath(kerbon::Encoding::Ansi), s))
        state.SkipWithError("cannot load");
    const int at = s.count() / 2;
    for (auto _ : state) {
        s.insert(at, " 10");
        s.erase(at);
    }
}

BENCHMARK_CAPTURE(BM_loadLines, ansi, kerbon::Encoding::Ansi)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_loadLines, utf16le, kerbon::Encoding::Utf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_saveLines, ansi, kerbon::Encoding::Ansi)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_saveLines, utf16le, kerbon::Encoding::Utf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_insertEraseMiddle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
