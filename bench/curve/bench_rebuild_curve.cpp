// RebuildCurve on random control points inside a 480 x 360 client area.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "curve/rebuild_curve.h"

namespace {

std::vector<velmora::Point> RandomPoints(int count) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int32_t> x(0, 479), y(0, 359);
    std::vector<velmora::Point> points(count);
    for (auto& p : points) p = {x(random), y(random)};
    return points;
}

void BM_RebuildCurve(benchmark::State& state) {
    const std::vector<velmora::Point> points = RandomPoints(static_cast<int>(state.range(0)));
    std::vector<velmora::Point> curve;
    for (auto _ : state) {
        velmora::RebuildCurve(points, curve);
        benchmark::DoNotOptimize(curve.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_point"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["samples"] = static_cast<double>(curve.size());
}

BENCHMARK(BM_RebuildCurve)->Arg(2)->Arg(20)->Arg(200)->Arg(2000)->Arg(20000);

}  // namespace

BENCHMARK_MAIN();
