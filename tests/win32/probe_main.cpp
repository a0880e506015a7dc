// The probe dialog as a program, for the test that drives a window with real
// X input (window_input.sh): prints the client area's place and size and the
// caption once shown, then every key and mouse message as it arrives, and
// writes the scene it shows last as a PPM picture to the file named by its
// argument when the window is closed.
#include <cstdio>

#include "probe_dialog.h"
#include "resources/resource_ids.h"

#include "platform/win32/win32_api.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: velmora-probe PICTURE.ppm\n", stderr);
        return 2;
    }
    using namespace velmora;
    Win32Host host(GetModuleHandleW(nullptr), IDD_VELMORA_DIALOG, IDD_ABOUTBOX);
    ProbeDialog dlg(host);
    dlg.echo = stdout;
    dlg.script = {[&] {
        RECT client{};
        GetClientRect(host.Window(), &client);
        POINT origin{0, 0};
        ClientToScreen(host.Window(), &origin);
        char caption[64] = {};
        GetWindowTextA(host.Window(), caption, sizeof caption);
        std::printf("client %ld %ld %ld %ld\ncaption %s\n", origin.x, origin.y, client.right,
                    client.bottom, caption);
        std::fflush(stdout);
    }};
    const int result = host.RunModal(dlg);
    std::printf("result %d\n", result);

    Canvas shown(dlg.initClient.right, dlg.initClient.bottom);
    dlg.DrawScene(shown);
    std::FILE* picture = std::fopen(argv[1], "wb");
    if (picture == nullptr) {
        return 1;
    }
    std::fprintf(picture, "P6\n%d %d\n255\n", shown.Width(), shown.Height());
    for (const Colour c : shown.Pixels()) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(c & 0xFF),
                                      static_cast<unsigned char>((c >> 8) & 0xFF),
                                      static_cast<unsigned char>((c >> 16) & 0xFF)};
        std::fwrite(rgb, 1, 3, picture);
    }
    return std::fclose(picture) == 0 && result == IDCANCEL ? 0 : 1;
}
