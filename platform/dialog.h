#pragma once

#include <cstddef>
#include <cstdint>

#include "model/geometry.h"
#include "platform/message.h"
#include "platform/window_host.h"

namespace velmora {

class CDialog;

// A message handler of a dialog's message map. It receives the dialog it
// was dispatched to; a derived dialog's handler casts it back to its own type.
using MessageHandler = void (*)(CDialog& dialog, const Message& msg);

// One message map entry: the message identifier and its handler.
struct MessageMapEntry {
    uint32_t message;
    MessageHandler handler;
};

// A dialog's message map: a static table of entries, searched in order.
struct MessageMap {
    const MessageMapEntry* entries;
    size_t count;
};

// The base of a modal dialog shown by a WindowHost. A host turns toolkit
// events into Messages and hands each to Dispatch; tests use the same path.
// The dialog ends through EndDialog; the host then closes it.
class CDialog {
public:
    virtual ~CDialog();

    // Binds the dialog to the host that shows it. Also clears the end state
    // of an earlier run, so a dialog object can be shown again.
    void Attach(WindowHost& host);
    // The attached host. Calling it before Attach is a programming error and
    // aborts the program.
    WindowHost& Host() const;
    // True once Attach has been called.
    bool IsAttached() const { return m_host != nullptr; }

    // Routes one message: PreTranslateMessage first; unless it consumed the
    // message, RouteMessage.
    void Dispatch(const Message& msg);
    // Hands a message to the first entry of GetMessageMap() for its
    // identifier; when there is none, to DefaultHandling. For a host whose
    // own message loop has given it to PreTranslateMessage already.
    void RouteMessage(const Message& msg);

    // Called by the host once, after Attach and before the window is first
    // shown. The base does nothing and returns true.
    virtual bool OnInitDialog();

    // Sees every message before the message map. Returns true to consume it.
    // The base gives the usual dialog keys: WM_KEYDOWN with VK_ESCAPE ends the
    // dialog with IDCANCEL, with VK_RETURN with IDOK, and both return true;
    // anything else returns false.
    virtual bool PreTranslateMessage(const Message& msg);

    // Ends the dialog with `result`; the host closes it when the current
    // message returns. A later call replaces the result.
    void EndDialog(int result);
    // True once EndDialog has been called (since the last Attach).
    bool IsEnded() const { return m_ended; }
    // The end code given to EndDialog; kNotEnded while the dialog runs.
    int Result() const { return m_result; }

    // Result() of a dialog that has not ended.
    static constexpr int kNotEnded = -1;

protected:
    // The dialog's message map. The base map is empty.
    virtual const MessageMap& GetMessageMap() const;

    // What a message gets when the map has no entry for it. The base handles
    // WM_SYSCOMMAND whose command masked with 0xFFF0 is SC_CLOSE by ending the
    // dialog with IDCANCEL, and ignores everything else.
    virtual void DefaultHandling(const Message& msg);

    // The base handlers a derived dialog passes its messages on to.
    // Default processing of a system command: DefaultHandling of that
    // WM_SYSCOMMAND. `param` takes no part.
    void OnSysCommand(uint32_t id, uint32_t param);
    // Default mouse handling: nothing to do.
    void OnLButtonDown(uint32_t /*flags*/, Point /*point*/) {}
    void OnMouseMove(uint32_t /*flags*/, Point /*point*/) {}
    void OnLButtonUp(uint32_t /*flags*/, Point /*point*/) {}
    // Ends the paint cycle; the host validates the window itself, so there
    // is nothing to do here.
    void OnPaint() {}

private:
    WindowHost* m_host = nullptr;
    bool m_ended = false;
    int m_result = kNotEnded;
};

}  // namespace velmora
