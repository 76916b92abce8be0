// Spline sampling and fitting: the span-local evaluation against the plain recursion, and
// the control-point fit of the spline tool.
#include <benchmark/benchmark.h>

#include <cmath>

#include "dxf/spline.h"

using namespace kerbon;

namespace {

std::vector<SplinePoint> wave(int count)
{
    std::vector<SplinePoint> p;
    for (int i = 0; i < count; ++i)
        p.push_back({i * 10.0, 7 * std::sin(i * 0.5), 0});
    return p;
}

// 100 samples of a cubic spline with `state.range(0)` control points.
void BM_SampleSpline(benchmark::State& state)
{
    const int count = int(state.range(0)), n = count - 1;
    const auto P = wave(count);
    std::vector<double> u;
    BuildSplineKnots(u, n, 4);
    std::vector<SplinePoint> out;
    for (auto _ : state) {
        SampleSpline(n, 4, P, 100, u, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SampleSpline)->Arg(6)->Arg(50)->Arg(1000);

// The same samples by the plain recursion over every basis function.
void BM_SamplePlainRecursion(benchmark::State& state)
{
    const int count = int(state.range(0)), n = count - 1;
    const auto P = wave(count);
    std::vector<double> u;
    BuildSplineKnots(u, n, 4);
    std::vector<SplinePoint> out(100);
    for (auto _ : state) {
        double v = 0;
        const double step = u[size_t(n + 1)] / 99;
        for (int i = 0; i < 99; ++i, v += step)
            out[size_t(i)] = EvalSplinePoint(u, n, 4, v, P);
        out[99] = P[size_t(n)];
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SamplePlainRecursion)->Arg(6)->Arg(50)->Arg(1000);

// The fit of the spline tool: `state.range(0)` targets, `state.range(1)` random tries.
void BM_FitSplineControlPoints(benchmark::State& state)
{
    const auto Q = wave(int(state.range(0)));
    Random rnd(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(FitSplineControlPoints(Q, {}, int(state.range(1)), rnd));
}
BENCHMARK(BM_FitSplineControlPoints)->Args({5, 250})->Args({10, 250})->Args({10, 1000})->Args({30, 1000})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
