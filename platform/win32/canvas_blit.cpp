#include "platform/win32/canvas_blit.h"

namespace velmora {

// The canvas keeps 0x00BBGGRR, a 32-bit bitmap 0x00RRGGBB: red and blue
// change places. The bitmap is top-down (a negative height), as the canvas.
void BlitCanvas(HDC dc, const Canvas& canvas, std::vector<uint32_t>& scratch) {
    const std::vector<Colour>& pixels = canvas.Pixels();
    scratch.resize(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Colour c = pixels[i];
        scratch[i] = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = canvas.Width();
    info.bmiHeader.biHeight = -canvas.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas.Width()),
                      static_cast<DWORD>(canvas.Height()), 0, 0, 0,
                      static_cast<UINT>(canvas.Height()), scratch.data(), &info, DIB_RGB_COLORS);
}

}  // namespace velmora
