#include "ui/message_boxes_win32.h"

#include <string_view>
#include <utility>

#include "base/exception.h"
#include "base/win32_text.h"
#include "ui/ui_texts.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

namespace {

// Moves the next dialog this thread opens to the middle of the primary screen,
// right after it placed itself. An ownerless message box would otherwise
// follow the active window or the mouse, depending on the system.
class CentreNextDialog {
public:
    CentreNextDialog()
        : previous_(std::exchange(active_, this)),
          hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook, nullptr, ::GetCurrentThreadId())) {}
    ~CentreNextDialog() { active_ = previous_; }
    CentreNextDialog(const CentreNextDialog&) = delete;
    CentreNextDialog& operator=(const CentreNextDialog&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        CentreNextDialog* self = active_;
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call.message == WM_INITDIALOG && self != nullptr && !self->done_) {
            const HWND window = call.hwnd;
            wchar_t className[16];
            if (::GetClassNameW(window, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
                self->done_ = true;
                Centre(window);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void Centre(HWND window) {
        RECT bounds;
        ::GetWindowRect(window, &bounds);
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        ::SetWindowPos(window, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The hook runs on this thread only; a nested box gets its own scope.
    static thread_local CentreNextDialog* active_;
    CentreNextDialog* previous_;
    UniqueHook hook_;
    bool done_ = false;
};

thread_local CentreNextDialog* CentreNextDialog::active_ = nullptr;

}  // namespace

void ShowErrorBox(HWND owner, const std::u16string& caption, const std::exception_ptr& error) {
    ::MessageBoxW(owner, base::Wide(base::ErrorBoxText(error)).c_str(), base::Wide(caption).c_str(),
                  MB_OK | MB_ICONSTOP);
}

void ShowScreenCentredMessage(const std::u16string& caption, const std::u16string& text) {
    CentreNextDialog centre;
    // No owner: the main window may be hidden and the task-bar window
    // minimised, and a box they own would not show. MB_TASKMODAL disables the
    // thread's windows instead, as an owner would be.
    ::MessageBoxW(nullptr, base::Wide(text).c_str(), base::Wide(caption).c_str(), MB_OK | MB_TASKMODAL);
}

void ShowAboutBox(HWND owner) {
    ::MessageBoxW(owner, base::Wide(kAboutText).c_str(), base::Wide(kMakerNotice).c_str(), MB_OK);
}

}  // namespace kestrin::ui
