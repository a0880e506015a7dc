#include "platform/dialog.h"

#include <cstdio>
#include <cstdlib>

namespace velmora {

namespace {

// The map of a dialog that handles no message itself.
const MessageMap kEmptyMap{nullptr, 0};

}  // namespace

CDialog::~CDialog() = default;

void CDialog::Attach(WindowHost& host) {
    m_host = &host;
    m_ended = false;
    m_result = kNotEnded;
}

// A dialog used before Attach stops the program here rather than
// dereferencing a null host later in some handler.
WindowHost& CDialog::Host() const {
    if (m_host == nullptr) {
        std::fputs("velmora: CDialog::Host() called before Attach()\n", stderr);
        std::abort();
    }
    return *m_host;
}

void CDialog::Dispatch(const Message& msg) {
    if (!PreTranslateMessage(msg)) {
        RouteMessage(msg);
    }
}

void CDialog::RouteMessage(const Message& msg) {
    const MessageMap& map = GetMessageMap();
    for (size_t i = 0; i < map.count; ++i) {
        const MessageMapEntry& entry = map.entries[i];
        if (entry.message == msg.message && entry.handler != nullptr) {
            entry.handler(*this, msg);
            return;
        }
    }
    DefaultHandling(msg);
}

bool CDialog::OnInitDialog() { return true; }

bool CDialog::PreTranslateMessage(const Message& msg) {
    if (msg.message != WM_KEYDOWN) {
        return false;
    }
    if (msg.wParam == VK_ESCAPE) {
        EndDialog(IDCANCEL);
        return true;
    }
    if (msg.wParam == VK_RETURN) {
        EndDialog(IDOK);
        return true;
    }
    return false;
}

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

const MessageMap& CDialog::GetMessageMap() const { return kEmptyMap; }

void CDialog::DefaultHandling(const Message& msg) {
    if (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0u) == SC_CLOSE) {
        EndDialog(IDCANCEL);
    }
}

void CDialog::OnSysCommand(uint32_t id, uint32_t /*param*/) {
    Message msg;
    msg.message = WM_SYSCOMMAND;
    msg.wParam = id;
    DefaultHandling(msg);
}

}  // namespace velmora
