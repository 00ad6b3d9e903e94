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
    RegisterNotificationWindowClass(&BoundWindow::Procedure);
    // Top-level, not message-only: the shell's "TaskbarCreated" is a broadcast.
    if (CreateBound(WS_EX_TOOLWINDOW, kNotificationWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr) ==
        nullptr) {
        throw EWindowCreateError();
    }
}

LRESULT NotificationWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> result = client_.HandleNotification(message, wParam, lParam)) return *result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kestrin::ui
