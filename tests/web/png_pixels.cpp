// Writes a PNG file's pixels to standard output as RGBA bytes, row by row,
// for the tests to compare pictures with: png_pixels FILE
#include <cstdio>

#include <QtGui/QImage>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const QImage image = QImage(argv[1]).convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull())
        return 1;
    const auto size = static_cast<size_t>(image.sizeInBytes());
    return std::fwrite(image.constBits(), 1, size, stdout) == size ? 0 : 1;
}
