#pragma once
// The tray icon's hidden notification window (class "TPUtilWindowEx"): it
// gets the shell's callbacks, the tray icon's timers and the shell's
// broadcasts, and hands them to its client.

#include <windows.h>

#include <exception>
#include <optional>

#include "ui/bound_window_win32.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

class NotificationWindowClient {
public:
    virtual ~NotificationWindowClient() = default;
    // The message's result, or nothing for the default processing.
    virtual std::optional<LRESULT> HandleNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // An exception ended the handling of a message.
    virtual void NotificationFailed(std::exception_ptr error) noexcept = 0;
};

class NotificationWindow final : private BoundWindow {
public:
    // A top-level tool window of zero size, never shown; throws EWindowCreateError.
    explicit NotificationWindow(NotificationWindowClient& client);
    NotificationWindow(const NotificationWindow&) = delete;
    NotificationWindow& operator=(const NotificationWindow&) = delete;

    HWND Handle() const noexcept { return window_.Get(); }

private:
    // BoundWindow
    void Attached(HWND window) noexcept override { window_.Reset(window); }
    void Detached() noexcept override { window_.Release(); }
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void MessageFailed(std::exception_ptr error) noexcept override { client_.NotificationFailed(std::move(error)); }

    NotificationWindowClient& client_;
    UniqueWindow window_;
};

}  // namespace kestrin::ui
