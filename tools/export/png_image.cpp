#include "tools/export/png_image.h"

#include <QtCore/QBuffer>
#include <QtGui/QImage>

namespace velmora::tool {

// Encoded in memory, so that the caller's checked write reports a full disk
// (QImage::save would not always tell).
std::string EncodePng(const Canvas& canvas) {
    QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
    for (int y = 0; y < canvas.Height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < canvas.Width(); ++x) {
            const Colour c = canvas.PixelAt(x, y);  // 0x00BBGGRR
            row[x] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>((c >> 16) & 0xFF));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::string();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace velmora::tool
