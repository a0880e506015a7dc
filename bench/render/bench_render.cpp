#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/note_set.h"
#include "platform/canvas.h"
#include "render/colours.h"
#include "render/markers.h"
#include "render/scene.h"

#ifdef VELMORA_BENCH_CURVE
#include "curve/rebuild_curve.h"
#endif

#ifdef VELMORA_BENCH_QT
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#endif

namespace velmora {
namespace {

constexpr Rect kClient{0, 0, 480, 360};

// Twenty control points wandering across the client area.
std::vector<Point> ControlPoints() {
    std::vector<Point> points;
    for (int i = 0; i < 20; ++i) {
        const double t = i / 19.0;
        points.push_back(Point{static_cast<int32_t>(30 + 420 * t),
                               static_cast<int32_t>(180 + 140 * std::sin(t * 9.0))});
    }
    return points;
}

// The sampled curve through the control points; without the curve layer, a
// dense polyline of about the same length.
std::vector<Point> CurveFor(const std::vector<Point>& points) {
    std::vector<Point> curve;
#ifdef VELMORA_BENCH_CURVE
    RebuildCurve(points, curve);
#else
    (void)points;
    for (int i = 0; i < 400; ++i) {
        const double t = i / 399.0;
        curve.push_back(Point{static_cast<int32_t>(30 + 420 * t),
                              static_cast<int32_t>(180 + 140 * std::sin(t * 9.0))});
    }
#endif
    return curve;
}

void BM_DrawScene(benchmark::State& state) {
    const std::vector<Point> points = ControlPoints();
    const std::vector<Point> curve = CurveFor(points);
    const SceneView view{points, curve, MapTargets(kClient, kDesignTargets), 1};
    Canvas canvas(480, 360);
    for (auto _ : state) {
        DrawScene(canvas, kClient, view);
        benchmark::DoNotOptimize(canvas.Pixels().data());
        benchmark::ClobberMemory();
    }
    state.counters["curve_points"] = static_cast<double>(curve.size());
}
BENCHMARK(BM_DrawScene);

// About four million short strokes on the canvas, as the curve of the largest
// files gives them: the samples through `count` random canvas points (the
// more points, the fewer samples each segment gets within the curve's sample
// budget, so the longer the strokes), or without the curve layer a random
// walk of steps of up to 4 pixels.
std::vector<Point> ManyShortStrokes([[maybe_unused]] int count) {
    std::mt19937 random(7);
    std::vector<Point> curve;
#ifdef VELMORA_BENCH_CURVE
    std::uniform_int_distribution<int32_t> x(0, 479), y(0, 359);
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        points.push_back(Point{x(random), y(random)});
    }
    RebuildCurve(points, curve);
#else
    std::uniform_int_distribution<int32_t> step(-4, 4);
    Point p{240, 180};
    for (int i = 0; i < (1 << 22); ++i) {
        p = Point{std::clamp(p.x + step(random), 0, 479), std::clamp(p.y + step(random), 0, 359)};
        curve.push_back(p);
    }
#endif
    return curve;
}

void BM_PolylineShortStrokes(benchmark::State& state) {
    const std::vector<Point> curve = ManyShortStrokes(static_cast<int>(state.range(0)));
    Canvas canvas(480, 360);
    for (auto _ : state) {
        canvas.Polyline(curve.data(), curve.size());
        benchmark::DoNotOptimize(canvas.Pixels().data());
        benchmark::ClobberMemory();
    }
    const double strokes = static_cast<double>(curve.size() - 1);
    state.counters["strokes"] = strokes;
    // Time per stroke (CPU time, as every rate here).
    state.counters["per_stroke"] = benchmark::Counter(
        strokes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PolylineShortStrokes)
    ->ArgName("points")
    ->Arg(80000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

void BM_FillOnly(benchmark::State& state) {
    Canvas canvas(480, 360);
    for (auto _ : state) {
        canvas.FillRect(kClient, kBackgroundColour);
        benchmark::DoNotOptimize(canvas.Pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillOnly);

#ifdef VELMORA_BENCH_QT
// Colours are 0x00BBGGRR; QColor wants red, green, blue.
QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void QtLine(QPainter& painter, int x0, int y0, int x1, int y1) { painter.drawLine(x0, y0, x1, y1); }

void QtStar(QPainter& painter, Point design, Colour colour, int c) {
    const Point p = DesignToClient(kClient, design.x, design.y);
    painter.setPen(QPen(ToQColor(colour), 1));
    const int d = (3 * c) >> 2;
    QtLine(painter, p.x - c, p.y, p.x + c, p.y);
    QtLine(painter, p.x, p.y - c, p.x, p.y + c);
    QtLine(painter, p.x - d, p.y - d, p.x + d, p.y + d);
    QtLine(painter, p.x + d, p.y - d, p.x - d, p.y + d);
}

void QtCross(QPainter& painter, Point p, Colour colour, int a) {
    painter.setPen(QPen(ToQColor(colour), 1));
    QtLine(painter, p.x - a, p.y, p.x + a, p.y);
    QtLine(painter, p.x, p.y - a, p.x, p.y + a);
}

void BM_QPainterScene(benchmark::State& state) {
    const std::vector<Point> points = ControlPoints();
    const std::vector<Point> curve = CurveFor(points);
    QPolygon polygon;
    for (Point p : curve) {
        polygon << QPoint(p.x, p.y);
    }
    QImage image(480, 360, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(0, 0, 480, 360, ToQColor(kBackgroundColour));
        QtStar(painter, kDesignOrigin, kOriginStar.colour, kOriginStar.size);
        for (int i = 0; i < kNoteCount; ++i) {
            QtStar(painter, kDesignTargets[i],
                   i == 1 ? kCurrentTargetStar.colour : kOtherTargetStar.colour,
                   i == 1 ? kCurrentTargetStar.size : kOtherTargetStar.size);
        }
        for (size_t i = 0; i < points.size(); ++i) {
            QtCross(painter, points[i], i == 0 ? kFirstCross.colour : kCross.colour,
                    i == 0 ? kFirstCross.size : kCross.size);
        }
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolyline(polygon);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_QPainterScene);
#endif

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
