#include "ui/message_boxes_win32.h"

#include <string_view>
#include <utility>

#include "base/exception.h"
#include "base/win32_text.h"
#include "ui/ui_texts.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

namespace {

// The next message box this thread opens, from its creation to its end: it
// is reported to the observer, and moved to the middle of the primary screen
// right after it placed itself when asked (an ownerless box would otherwise
// follow the active window or the mouse, depending on the system).
class BoxScope {
public:
    BoxScope(BoxKind kind, BoxObserver* observer, bool centre)
        : kind_(kind),
          observer_(observer),
          centre_(centre),
          before_(::GetForegroundWindow()),
          previous_(std::exchange(active_, this)),
          hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook, nullptr, ::GetCurrentThreadId())) {}
    ~BoxScope() {
        hook_.Reset();
        active_ = previous_;
        if (!opened_ || observer_ == nullptr) return;
        base::Quietly([this] { observer_->BoxClosed(kind_); });
    }
    BoxScope(const BoxScope&) = delete;
    BoxScope& operator=(const BoxScope&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        BoxScope* self = active_;
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call.message == WM_INITDIALOG && self != nullptr && !self->opened_) {
            const HWND window = call.hwnd;
            wchar_t className[16];
            if (::GetClassNameW(window, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
                self->Opened(window);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void Opened(HWND box) {
        opened_ = true;
        if (centre_) Centre(box);
        if (observer_ == nullptr) return;
        base::Quietly([this, box] { observer_->BoxOpened(kind_, box, before_); });
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
    static thread_local BoxScope* active_;
    BoxKind kind_;
    BoxObserver* observer_;
    bool centre_;
    HWND before_;
    BoxScope* previous_;
    UniqueHook hook_;
    bool opened_ = false;
};

thread_local BoxScope* BoxScope::active_ = nullptr;

}  // namespace

void ShowErrorBox(HWND owner, const std::u16string& caption, const std::exception_ptr& error,
                  BoxObserver* observer) {
    const BoxScope scope(BoxKind::Error, observer, false);
    ::MessageBoxW(owner, base::Wide(base::ErrorBoxText(error)).c_str(), base::Wide(caption).c_str(),
                  MB_OK | MB_ICONSTOP);
}

void ShowScreenCentredMessage(const std::u16string& caption, const std::u16string& text,
                              BoxObserver* observer) {
    const BoxScope scope(BoxKind::SwitchWarning, observer, true);
    // No owner: the main window may be hidden and the task-bar window
    // minimised, and a box they own would not show. MB_TASKMODAL disables the
    // thread's windows instead, as an owner would be.
    ::MessageBoxW(nullptr, base::Wide(text).c_str(), base::Wide(caption).c_str(), MB_OK | MB_TASKMODAL);
}

void ShowAboutBox(HWND owner, BoxObserver* observer) {
    const BoxScope scope(BoxKind::About, observer, false);
    ::MessageBoxW(owner, base::Wide(kAboutText).c_str(), base::Wide(kMakerNotice).c_str(), MB_OK);
}

}  // namespace kestrin::ui
