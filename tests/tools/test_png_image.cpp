// The PNG writer: the file inflates back to the canvas's pixels, every row
// through the "Up" filter, and an empty canvas, which PNG cannot hold, gives
// no file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "tests/support/case_names.h"
#include "tools/export/png_image.h"

namespace velmora {
namespace {

uint32_t BigEndianAt(const std::string& s, std::size_t at) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(s[at + i]);
    return value;
}

struct PngCase {
    const char* name;
    int32_t width, height;
    bool written;
};

class PngImage : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngImage, HoldsTheCanvasPixels) {
    const PngCase& c = GetParam();
    Canvas canvas(c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y)  // every channel value, rows unlike
        canvas.FillRect(Rect{y % 3, y, c.width, y + 1},
                        MakeColour(static_cast<uint8_t>(y * 7), static_cast<uint8_t>(255 - y),
                                   static_cast<uint8_t>(y * 31 + 5)));
    const std::string png = tool::EncodePng(canvas);
    if (!c.written) {
        EXPECT_EQ(png, "");
        return;
    }
    ASSERT_EQ(png.compare(0, 16, std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)), 0);
    EXPECT_EQ(BigEndianAt(png, 16), static_cast<uint32_t>(c.width));
    EXPECT_EQ(BigEndianAt(png, 20), static_cast<uint32_t>(c.height));
    EXPECT_EQ(png.substr(24, 5), std::string("\x08\x02\0\0\0", 5));  // 8-bit RGB, no interlace
    const uint32_t idat = BigEndianAt(png, 33);
    ASSERT_EQ(png.substr(37, 4), "IDAT");
    EXPECT_EQ(BigEndianAt(png, 41 + idat),
              crc32(0, reinterpret_cast<const Bytef*>(png.data() + 37), idat + 4));
    EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12));

    const std::size_t stride = 1 + 3 * static_cast<std::size_t>(c.width);
    std::string rows(stride * static_cast<std::size_t>(c.height), '\0');
    uLongf size = static_cast<uLongf>(rows.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &size,
                         reinterpret_cast<const Bytef*>(png.data() + 41), idat),
              Z_OK);
    ASSERT_EQ(size, rows.size());
    std::string above(stride, '\0');  // the row above, unfiltered
    for (int32_t y = 0; y < c.height; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * stride;
        ASSERT_EQ(rows[at], 2) << "row " << y << " filtered Up";
        for (std::size_t i = 1; i < stride; ++i)
            above[i] = static_cast<char>(rows[at + i] + above[i]);
        for (int32_t x = 0; x < c.width; ++x) {
            const std::size_t i = 1 + 3 * static_cast<std::size_t>(x);
            ASSERT_EQ(MakeColour(static_cast<uint8_t>(above[i]), static_cast<uint8_t>(above[i + 1]),
                                 static_cast<uint8_t>(above[i + 2])),
                      canvas.PixelAt(x, y))
                << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Canvases, PngImage,
                         ::testing::Values(PngCase{"OnePixel", 1, 1, true},
                                           PngCase{"Editor", 480, 360, true},
                                           PngCase{"OneColumn", 1, 40, true},
                                           PngCase{"NoWidth", 0, 10, false},
                                           PngCase{"NoHeight", 10, 0, false}),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
