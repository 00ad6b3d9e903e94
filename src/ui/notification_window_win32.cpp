#include "ui/notification_window_win32.h"

#include "ui/ui_errors.h"
#include "ui/window_class_win32.h"

namespace kestrin::ui {

namespace {

constexpr wchar_t kNotificationWindowClass[] = L"TPUtilWindowEx";

void RegisterNotificationWindowClass(WNDPROC procedure) {
    RegisterWindowClass(WindowClassOf(kNotificationWindowClass, procedure));
}

}  // namespace

NotificationWindow::NotificationWindow(NotificationWindowClient& client) : client_(client) {
    RegisterNotificationWindowClass(&NotificationWindow::WindowProcedure);
    // Top-level, not message-only: the shell's "TaskbarCreated" is a broadcast.
    window_.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kNotificationWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), this));
    if (!window_) throw EWindowCreateError();
}

LRESULT CALLBACK NotificationWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<NotificationWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        if (const std::optional<LRESULT> result = self->client_.HandleNotification(message, wParam, lParam)) {
            return *result;
        }
    } catch (...) {
        // Nothing may cross the system's frames; the error box says what went wrong.
        self->client_.NotificationFailed(std::current_exception());
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kestrin::ui
