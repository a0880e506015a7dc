// RebuildCurve on random control points inside a 480 x 360 client area, and
// on the shapes that decide the sample budget: one long chord followed by
// short ones, a long canvas spline, and the largest spline a file can hold.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/random_points.h"
#include "curve/rebuild_curve.h"

namespace {

using velmora::Point;
using velmora::bench::RandomPoints;

// (0,0), (16128,0), then 64 points 8 apart in x, with y 0, 3, 0, 3, ...
std::vector<Point> LongChordThenShortOnes() {
    std::vector<Point> points = {{0, 0}, {16128, 0}};
    for (int32_t i = 1; i <= 64; ++i)
        points.push_back({16128 + 8 * i, i % 2 == 0 ? 3 : 0});
    return points;
}

// Points alternating between two far corners: every chord is capped.
std::vector<Point> FarApartPoints(int count) {
    std::vector<Point> points(count);
    for (int i = 0; i < count; ++i)
        points[i] = i % 2 == 0 ? Point{-9999, -9999} : Point{9999, 9999};
    return points;
}

void Rebuild(benchmark::State& state, const std::vector<Point>& points) {
    std::vector<Point> curve;
    for (auto _ : state) {
        velmora::RebuildCurve(points, curve);
        benchmark::DoNotOptimize(curve.data());
    }
    const auto count = static_cast<int64_t>(points.size());
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_point"] =
        benchmark::Counter(static_cast<double>(state.iterations() * count),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["samples"] = static_cast<double>(curve.size());
}

void BM_RebuildCurve(benchmark::State& state) {
    Rebuild(state, RandomPoints(static_cast<int>(state.range(0))));
}

void BM_RebuildLongChordThenShortOnes(benchmark::State& state) {
    Rebuild(state, LongChordThenShortOnes());
}

void BM_RebuildFarApart(benchmark::State& state) {
    Rebuild(state, FarApartPoints(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_RebuildCurve)
    ->Arg(2)
    ->Arg(20)
    ->Arg(200)
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(640000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildLongChordThenShortOnes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildFarApart)
    ->Arg(1200)
    ->Arg(200000)
    ->Arg(640000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
