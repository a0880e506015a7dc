#include "tools/export/png_image.h"

#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora::tool {

namespace {

// Every row is filtered with "Up" and deflated at the highest level, always
// the same way: the bytes depend only on the pixels and on zlib, so that
// every system writes the same file for the same picture. The pictures are
// flat colours and thin lines, where "Up" does about as well as choosing a
// filter per row.
constexpr unsigned char kFilterUp = 2;
constexpr int kCompressionLevel = 9;
constexpr int kBytesPerPixel = 3;  // 8-bit RGB

void AppendBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// A chunk: its length, type, data and the CRC of type and data.
void AppendChunk(std::string& out, const char (&type)[5], const std::string& data) {
    AppendBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    AppendBigEndian(out,
                    static_cast<uint32_t>(crc32(0, bytes, static_cast<uInt>(4 + data.size()))));
}

// The rows as PNG scanlines: each one its filter byte, then its RGB bytes
// minus those of the row above (zero above the first).
std::string FilteredRows(const Canvas& canvas) {
    const auto width = static_cast<std::size_t>(canvas.Width());
    const auto height = static_cast<std::size_t>(canvas.Height());
    const std::size_t stride = 1 + width * kBytesPerPixel;
    std::string rows(stride * height, '\0');
    const std::vector<Colour>& pixels = canvas.Pixels();
    for (std::size_t y = 0; y < height; ++y) {
        char* row = &rows[y * stride];
        row[0] = static_cast<char>(kFilterUp);
        for (std::size_t x = 0; x < width; ++x) {
            const Colour here = pixels[y * width + x];  // 0x00BBGGRR
            const Colour above = y == 0 ? 0 : pixels[(y - 1) * width + x];
            for (int channel = 0; channel < kBytesPerPixel; ++channel) {
                const int shift = 8 * channel;
                row[1 + x * kBytesPerPixel + static_cast<std::size_t>(channel)] =
                    static_cast<char>(((here >> shift) - (above >> shift)) & 0xFF);
            }
        }
    }
    return rows;
}

// `data` as one zlib stream; empty when zlib fails.
std::string Deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  kCompressionLevel) != Z_OK)
        return std::string();
    out.resize(size);
    return out;
}

}  // namespace

// Encoded in memory, so that the caller's checked write reports a full disk.
std::string EncodePng(const Canvas& canvas) {
    const int32_t width = canvas.Width();
    const int32_t height = canvas.Height();
    // PNG has no empty picture; zlib's lengths are 32 bits on Windows.
    constexpr uint64_t kMaxBytes = uint64_t{1} << 30;
    if (width <= 0 || height <= 0 ||
        (static_cast<uint64_t>(width) * kBytesPerPixel + 1) * static_cast<uint64_t>(height) >
            kMaxBytes)
        return std::string();

    std::string header;
    AppendBigEndian(header, static_cast<uint32_t>(width));
    AppendBigEndian(header, static_cast<uint32_t>(height));
    // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header += std::string("\x08\x02\x00\x00\x00", 5);

    const std::string compressed = Deflate(FilteredRows(canvas));
    if (compressed.empty())
        return std::string();

    static constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                                '\r', '\n', 0x1A, '\n'};
    std::string png(kSignature.begin(), kSignature.end());
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", compressed);
    AppendChunk(png, "IEND", std::string());
    return png;
}

}  // namespace velmora::tool
