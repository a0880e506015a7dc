// The key table: which key runs which command.
#include "editor/velmora_dlg.h"
#include "platform/message.h"

namespace velmora {

bool CVelmoraDlg::PreTranslateMessage(const Message& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_RETURN: OnKeyDown(VK_RETURN, 1, 0); return true;
        case VK_ESCAPE:
            // Consumed so that it never closes the dialog.
            return true;
        case VK_LEFT:
        case VK_RIGHT: OnKeyDown(msg.wParam, 1, 0); return true;
        default: break;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CVelmoraDlg::OnKeyDown(uint32_t nChar, uint32_t /*nRepCnt*/, uint32_t /*nFlags*/) {
    switch (nChar) {
    case VK_BACK: RemoveLastPoint(); break;
    case VK_RETURN: AppendSpline(); break;
    case VK_LEFT: PrevSpline(); break;
    case VK_RIGHT: NextSpline(); break;
    case VK_DELETE: DeleteSpline(); break;
    case 'S': SaveSplines(); break;
    case VK_ADD: NextNote(); break;
    case VK_SUBTRACT: PrevNote(); break;
    case VK_DECIMAL: DeleteSpline(); break;
    case VK_DIVIDE: RemovePointUnderCursor(); break;
    default: break;
    }
    RecordSession();
}

}  // namespace velmora
