#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "model/note_set.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/window_host.h"

#include "platform/win32/win32_api.h"

namespace velmora {

// The Win32 window that shows one CDialog: a dialog box made from a dialog
// template of the program's resources, whose client area is the host's
// Canvas, shown with a bitmap blit. The program's own message loop gives
// every message to the dialog's PreTranslateMessage before the dialog
// manager sees it; the dialog procedure hands the window's messages to the
// dialog's message map. The About entry goes into the real system menu.
class Win32Host : public WindowHost {
public:
    // A host for the dialog template `dialogTemplate` and the About box
    // template `aboutTemplate` of the module `instance`, whose client area is
    // made width x height pixels (at least 1 x 1).
    Win32Host(HINSTANCE instance, int32_t dialogTemplate, int32_t aboutTemplate,
              int32_t width = kEditorClient.right, int32_t height = kEditorClient.bottom);
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // Shows `dlg` modally: creates the window hidden, sizes its client area,
    // Attach, OnInitDialog, shows it, then runs the message loop until the
    // dialog ends or the window is gone, and destroys the window. Warnings
    // raised before the window is shown come once it is, in their order.
    // Returns dlg.Result(), CDialog::kNotEnded when the window could not be
    // made or went away without the dialog ending. A WM_QUIT ends the loop
    // too and is posted again for the loop outside.
    int RunModal(CDialog& dlg);

    // The dialog's window while RunModal runs, else null.
    HWND Window() const { return m_window; }

    // WindowHost.
    Rect ClientRect() const override;
    // SetWindowTextA: the text is in the system's 8-bit code page.
    void SetCaption(const std::string& text) override;
    Canvas& GetDC() override;
    // Blits the canvas to the window at once.
    void ReleaseDC(Canvas& canvas) override;
    bool GetCursorPos(Point& clientPos) const override;
    // MessageBoxW without an owner, so the window keeps taking the mouse.
    // Keys that reach the window meanwhile are dropped; the question has the
    // focus. No when a question is open already, when the box cannot be
    // shown, or when the dialog ends meanwhile (the box is then closed).
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    // The question icon and Yes as the default, with the window as owner
    // once it is shown; before that it comes first, after the warnings
    // raised until then. (A Windows Yes/No box has no Escape answer.)
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    void ShowWarning(const std::string& text, const std::string& caption) override;
    // The About box from the About template, modal over the window.
    void RunAboutBox() override;
    void AppendSystemMenuItem(uint32_t id, const std::string& text) override;
    // The icon resource in the size the system gives big or small icons.
    void SetIcon(int32_t iconId, bool big) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK QuestionHook(int code, WPARAM wParam, LPARAM lParam);

    // The dialog procedure's work once the host is known.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void InitWindow(HWND window);
    void Route(uint32_t message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void CloseQuestionIfEnded();
    void ShowWarningBox(const std::string& text, const std::string& caption);
    void ShowPendingWarnings();

    HINSTANCE m_instance;
    int32_t m_dialogTemplate;
    int32_t m_aboutTemplate;
    Canvas m_canvas;
    std::vector<uint32_t> m_bitmap;  // the canvas as the blit's pixels
    HWND m_window = nullptr;
    CDialog* m_dialog = nullptr;
    bool m_shown = false;
    bool m_canvasFresh = false;  // a ReleaseDC has blitted the canvas since the last paint
    bool m_aboutBoxOpen = false;
    bool m_asking = false;
    HWND m_question = nullptr;  // the Yes/No box while it is open
    HICON m_bigIcon = nullptr;
    std::deque<std::pair<std::string, std::string>> m_pendingWarnings;  // text, caption
};

}  // namespace velmora
