// Translation table: lookups in a filled table, loading translate.dat, and appending to the
// record array one record at a time (growth in hundreds) against one bulk append.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "i18n/translateunit.h"

using namespace kerbon;
namespace fs = std::filesystem;

namespace {

std::string german(int i)
{
    // Spread over many first letters like real captions.
    return std::string(1, char('A' + i % 26)) + "eschriftung Nummer " + std::to_string(i);
}

// A fresh program directory for one benchmark.
std::string tableDir(int n)
{
    const std::string dir = (fs::temp_directory_path() /
                             ("kerbon-bench-translate-" + std::to_string(getpid()) + "-" +
                              std::to_string(n)))
                                .string() +
                            "/";
    fs::create_directories(dir);
    return dir;
}

void writeTable(const std::string& dir, int n)
{
    std::ofstream out(dir + "translate.dat", std::ios::binary);
    auto put32 = [&](std::int32_t v) {
        for (int k = 0; k < 4; ++k)
            out.put(char((std::uint32_t(v) >> (8 * k)) & 0xFF));
    };
    put32(20);
    put32(n);
    for (int i = 0; i < n; ++i) {
        WriteWideString(out, german(i));
        WriteWideString(out, "Caption number " + std::to_string(i));
        for (int c = 2; c < 20; ++c)
            put32(0);
    }
}

void BM_TranslateText(benchmark::State& state)
{
    const int n = int(state.range(0));
    const std::string dir = tableDir(n);
    writeTable(dir, n);
    TranslationTable t;
    t.InitTranslation(dir, "");
    t.language = 1;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.TranslateText("  " + german(i) + " "));
        i = (i + 7919) % n;
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_TranslateText)->Arg(500)->Arg(5000);

void BM_LoadTranslateFile(benchmark::State& state)
{
    const int n = int(state.range(0));
    const std::string dir = tableDir(n);
    writeTable(dir, n);
    TranslationTable t;
    for (auto _ : state)
        t.InitTranslation(dir, "");
    state.SetItemsProcessed(state.iterations() * n);
    fs::remove_all(dir);
}
BENCHMARK(BM_LoadTranslateFile)->Arg(500)->Arg(100000)->Unit(benchmark::kMillisecond);

struct Element {
    double x, y;
    std::vector<int> points;
};

void BM_TDynaArrayAdd(benchmark::State& state)
{
    const auto n = std::uint32_t(state.range(0));
    for (auto _ : state) {
        TDynaArray<Element> a;
        for (std::uint32_t i = 0; i < n; ++i)
            a.Add()->x = i;
        benchmark::DoNotOptimize(a.poi());
    }
}
BENCHMARK(BM_TDynaArrayAdd)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TDynaArrayAddMany(benchmark::State& state)
{
    const auto n = std::uint32_t(state.range(0));
    for (auto _ : state) {
        TDynaArray<Element> a;
        Element* e = a.AddMany(n);
        for (std::uint32_t i = 0; i < n; ++i)
            e[i].x = i;
        benchmark::DoNotOptimize(a.poi());
    }
}
BENCHMARK(BM_TDynaArrayAddMany)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
