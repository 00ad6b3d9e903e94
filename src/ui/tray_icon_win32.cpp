#include "ui/tray_icon_win32.h"

#include "base/exception.h"

namespace kestrin::ui {

TJvTrayIcon::TJvTrayIcon(TrayApplication& application, TrayShell& shell, const base::Clock& clock, HICON icon)
    : application_(application),
      shell_(shell),
      clock_(clock),
      icon_(icon),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      window_(*this) {
    // An elevated program hears a shell that is not elevated (its broadcast,
    // the icon's clicks) only when it says so.
    if (taskbarCreated_ != 0) ::ChangeWindowMessageFilterEx(window_.Handle(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
    ::ChangeWindowMessageFilterEx(window_.Handle(), kTrayCallbackMessage, MSGFLT_ALLOW, nullptr);
}

TJvTrayIcon::~TJvTrayIcon() {
    if (active_) Deactivate();
}

bool TJvTrayIcon::Notify(DWORD message, UINT flags) {
    iconData_.uFlags = flags;
    return shell_.NotifyIcon(message, iconData_);
}

void TJvTrayIcon::StartTimer(UINT_PTR id, UINT milliseconds) {
    shell_.StartTimer(window_.Handle(), id, milliseconds);
}

void TJvTrayIcon::StopTimer(UINT_PTR id) {
    shell_.StopTimer(window_.Handle(), id);
}

void TJvTrayIcon::SetActive(bool active) {
    if (active == active_) return;
    if (active) {
        Activate();
    } else {
        Deactivate();
    }
}

void TJvTrayIcon::Activate() {
    iconData_ = {};
    iconData_.cbSize = sizeof iconData_;
    iconData_.Wnd = window_.Handle();
    iconData_.uID = kTrayIconId;
    iconData_.uCallbackMessage = kTrayCallbackMessage;
    iconData_.hIcon = icon_;
    iconData_.uTimeOut = kTrayIconVersion;
    // szTip stays empty: the icon has no tooltip.
    // Minimise commands reach the application directly, so no hook watches
    // the task-bar window; and the application shows nothing at start, so
    // there is nothing to hide. The icon comes when the application says.
    active_ = true;
}

void TJvTrayIcon::Deactivate() noexcept {
    StopTimer(kClickTimerId);
    StopTimer(kBalloonTimerId);
    StopTimer(kBalloonSendTimerId);
    waitingBalloon_.reset();
    StopIconRetries();
    waitingForDoubleClick_ = false;
    pendingDoubleClick_.reset();
    // Ending anyway; the shell drops the icon of a window that is gone.
    base::Quietly([this] { HideIcon(); });
    active_ = false;
}

void TJvTrayIcon::SetIconVisible(bool visible) {
    if (!visible) {
        StopIconRetries();
        HideIcon();
        return;
    }
    // At log-on the shell may be up but too busy to answer in time, and no
    // "TaskbarCreated" follows: without the retries the program would have
    // no way in.
    if (!ShowIcon() && iconRetriesLeft_ == 0) {
        iconRetriesLeft_ = kIconRetries;
        StartTimer(kIconRetryTimerId, kIconRetryInterval);
    }
}

bool TJvTrayIcon::ShowIcon() {
    // The icon is in the tray only while the application does not count as visible.
    if (iconVisible_ || !active_ || application_.ApplicationVisible()) {
        StopIconRetries();
        return true;
    }
    // A shell that did not answer in time may have added the icon all the
    // same: then the icon takes a change.
    constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (!Notify(NIM_ADD, kIconFlags) && !Notify(NIM_MODIFY, kIconFlags)) return false;
    StopIconRetries();
    iconVisible_ = true;
    if (shell_.Version().AtLeast5()) {
        // uTimeOut is shared with the balloons' display time: ask for the
        // interface version itself, not for whatever the last balloon left.
        iconData_.uTimeOut = kTrayIconVersion;
        Notify(NIM_SETVERSION, 0);
    }
    return true;
}

void TJvTrayIcon::StopIconRetries() {
    if (iconRetriesLeft_ == 0) return;
    iconRetriesLeft_ = 0;
    StopTimer(kIconRetryTimerId);
}

void TJvTrayIcon::IconRetryTimerExpired() {
    if (iconRetriesLeft_ == 0) {
        StopTimer(kIconRetryTimerId);
        return;
    }
    if (ShowIcon() || --iconRetriesLeft_ > 0) return;
    StopTimer(kIconRetryTimerId);
    application_.IconGivenUp();
}

void TJvTrayIcon::HideIcon() {
    if (!iconVisible_) return;
    // A refused removal leaves the icon where it is, and marked so.
    if (Notify(NIM_DELETE, 0)) iconVisible_ = false;
}

void TJvTrayIcon::HideApplication() {
    application_.HideApplication();
}

void TJvTrayIcon::ReplaceLostIcon(bool wanted) {
    StopIconRetries();
    if (iconVisible_) Notify(NIM_DELETE, 0);
    iconVisible_ = false;
    if (wanted) SetIconVisible(true);
}

void TJvTrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    iconData_.hIcon = icon;
    if (iconVisible_) Notify(NIM_MODIFY, NIF_ICON);
}

std::optional<LRESULT> TJvTrayIcon::HandleNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) return IconEvent(lParam);
    if (message == kDoubleClickMessage) {
        ReportDoubleClick();
        return 0;
    }
    if (message == WM_TIMER) {
        if (wParam == kClickTimerId) ClickTimerExpired();
        if (wParam == kBalloonTimerId) BalloonTimerExpired();
        if (wParam == kBalloonSendTimerId) BalloonSendTimerExpired();
        if (wParam == kIconRetryTimerId) IconRetryTimerExpired();
        return 0;
    }
    if (message == WM_ENDSESSION) {
        // ENDSESSION_CLOSEAPP: the session goes on, only the program must go.
        if (wParam != FALSE && (lParam & ENDSESSION_CLOSEAPP) != 0) {
            application_.CloseForRestart();
        } else {
            application_.SessionEnding(wParam != FALSE);
        }
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        application_.ShellRestarted();
        return 0;
    }
    if (message == WM_CLOSE) {
        // Never destroyed by a close from outside: the icon would go with it.
        application_.CloseRequested(CloseFrom::NotificationWindow);
        return 0;
    }
    return std::nullopt;
}

void TJvTrayIcon::NotificationFailed(std::exception_ptr error) noexcept {
    base::Quietly([&] { application_.HandleException(std::move(error)); });
}

}  // namespace kestrin::ui
