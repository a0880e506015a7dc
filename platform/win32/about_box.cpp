#include "platform/win32/about_box.h"

namespace velmora {

namespace {

// OK ends the box; Escape and the close button arrive as IDCANCEL.
INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunAboutBoxTemplate(HINSTANCE instance, int32_t templateId, HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, &AboutProc, 0);
}

}  // namespace velmora
