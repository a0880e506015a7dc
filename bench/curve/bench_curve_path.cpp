// The library's whole-pixel and precise samples side by side, and a path
// along them: built once per spline, asked for a point every frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include <velmora/curve.hpp>

#include "bench/support/random_points.h"

namespace {

using velmora::Point;
using velmora::bench::RandomPoints;

void BM_SampleCurve(benchmark::State& state) {
    const std::vector<Point> points = RandomPoints(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::SampleCurve(points).data());
}

void BM_SampleCurvePrecise(benchmark::State& state) {
    const std::vector<Point> points = RandomPoints(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::SampleCurvePrecise(points).data());
}

void BM_CurvePathNew(benchmark::State& state) {
    const std::vector<Point> points = RandomPoints(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const velmora::CurvePath path(points);
        benchmark::DoNotOptimize(path.Length());
    }
}

void BM_CurvePathPointAt(benchmark::State& state) {
    const velmora::CurvePath path(RandomPoints(static_cast<int>(state.range(0))));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> distance(0.0, path.Length());
    std::vector<double> distances(4096);
    for (double& d : distances)
        d = distance(random);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(path.PointAt(distances[i++ % distances.size()]));
    }
}

BENCHMARK(BM_SampleCurve)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SampleCurvePrecise)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CurvePathNew)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CurvePathPointAt)->Arg(20)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
