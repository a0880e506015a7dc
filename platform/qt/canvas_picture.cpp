#include "platform/qt/canvas_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace velmora {

namespace {

// The platform hands over a device position divided by the ratio, which may
// land a hair short of a pixel edge; that close, the position is on the edge.
constexpr double kEdgeTolerance = 1e-6;

// The canvas pixel that device pixel `device` shows.
double CanvasOfDevice(double device, double ratio) { return std::floor(device / ratio); }

// The number of device pixels that show `logical` canvas pixels.
int DeviceLength(int logical, double ratio) {
    return static_cast<int>(std::ceil(logical * ratio - kEdgeTolerance));
}

// A whole pixel coordinate kept inside the int32_t range.
int32_t ToInt32(double value) {
    if (!(value >= std::numeric_limits<int32_t>::min())) {  // also catches NaN
        return std::numeric_limits<int32_t>::min();
    }
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

// A canvas pixel (0x00BBGGRR) as a QImage RGB32 pixel (0xFFRRGGBB).
QRgb ToRgb32(Colour colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

}  // namespace

void DrawCanvasPicture(const Canvas& canvas, qreal ratio, QImage& picture) {
    const double r = ratio > 0 ? ratio : 1.0;
    const int width = canvas.Width();
    const int height = canvas.Height();
    const QSize size(DeviceLength(width, r), DeviceLength(height, r));
    if (picture.size() != size || picture.format() != QImage::Format_RGB32) {
        picture = QImage(size, QImage::Format_RGB32);
    }
    picture.setDevicePixelRatio(r);

    // The last device pixel may sit a rounding error past the canvas edge.
    std::vector<int> column(static_cast<size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x) {
        column[x] = std::min(static_cast<int>(CanvasOfDevice(x, r)), width - 1);
    }
    const std::vector<Colour>& pixels = canvas.Pixels();
    for (int y = 0; y < size.height(); ++y) {
        const int row = std::min(static_cast<int>(CanvasOfDevice(y, r)), height - 1);
        const Colour* source = &pixels[static_cast<size_t>(row) * static_cast<size_t>(width)];
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = ToRgb32(source[column[x]]);
        }
    }
}

Point CanvasPixelAt(QPointF logical, qreal ratio) {
    const double r = ratio > 0 ? ratio : 1.0;
    const double deviceX = std::floor(logical.x() * r + kEdgeTolerance);
    const double deviceY = std::floor(logical.y() * r + kEdgeTolerance);
    return Point{ToInt32(CanvasOfDevice(deviceX, r)), ToInt32(CanvasOfDevice(deviceY, r))};
}

}  // namespace velmora
