#include "ui/tray_icon_win32.h"

#include "base/exception.h"

namespace kestrin::ui {

TJvTrayIcon::TJvTrayIcon(TrayApplication& application, TrayShell& shell, const base::Clock& clock, HICON icon)
    : FApplication(application),
      FShell(shell),
      FClock(clock),
      FIcon(icon),
      FTaskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated")),
      FWindow(*this) {
    // An elevated program hears a shell that is not elevated (its broadcast,
    // the icon's clicks) only when it says so.
    if (FTaskbarCreated != 0) ::ChangeWindowMessageFilterEx(FWindow.Handle(), FTaskbarCreated, MSGFLT_ALLOW, nullptr);
    ::ChangeWindowMessageFilterEx(FWindow.Handle(), kTrayCallbackMessage, MSGFLT_ALLOW, nullptr);
}

TJvTrayIcon::~TJvTrayIcon() {
    if (FActive) Deactivate();
}

bool TJvTrayIcon::Notify(DWORD message, UINT flags) {
    FIconData.uFlags = flags;
    return FShell.NotifyIcon(message, FIconData);
}

void TJvTrayIcon::StartTimer(UINT_PTR id, UINT milliseconds) {
    FShell.StartTimer(FWindow.Handle(), id, milliseconds);
}

void TJvTrayIcon::StopTimer(UINT_PTR id) {
    FShell.StopTimer(FWindow.Handle(), id);
}

void TJvTrayIcon::SetActive(bool active) {
    if (active == FActive) return;
    if (active) {
        Activate();
    } else {
        Deactivate();
    }
}

void TJvTrayIcon::Activate() {
    FIconData = {};
    FIconData.cbSize = sizeof FIconData;
    FIconData.Wnd = FWindow.Handle();
    FIconData.uID = kTrayIconId;
    FIconData.uCallbackMessage = kTrayCallbackMessage;
    FIconData.hIcon = FIcon;
    FIconData.uTimeOut = kTrayIconVersion;
    // szTip stays empty: the icon has no tooltip.
    // Minimise commands reach the application directly, so no hook watches
    // the task-bar window; and the application shows nothing at start, so
    // there is nothing to hide. The icon comes when the presence says.
    FActive = true;
}

void TJvTrayIcon::Deactivate() noexcept {
    StopTimer(kClickTimerId);
    StopTimer(kBalloonTimerId);
    StopTimer(kBalloonSendTimerId);
    FWaitingBalloon.reset();
    StopIconRetries();
    FWaitingForDoubleClick = false;
    FPendingDoubleClick.reset();
    // Ending anyway; the shell drops the icon of a window that is gone.
    base::Quietly([this] { HideIcon(); });
    FActive = false;
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
    if (!ShowIcon() && FIconRetriesLeft == 0) {
        FIconRetriesLeft = kIconRetries;
        StartTimer(kIconRetryTimerId, kIconRetryInterval);
    }
}

bool TJvTrayIcon::ShowIcon() {
    if (FIconVisible || !FActive) {
        StopIconRetries();
        return true;
    }
    // A shell that did not answer in time may have added the icon all the
    // same: then the icon takes a change.
    constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (!Notify(NIM_ADD, kIconFlags) && !Notify(NIM_MODIFY, kIconFlags)) return false;
    StopIconRetries();
    FIconVisible = true;
    if (FShell.Version().AtLeast5()) {
        // uTimeOut is shared with the balloons' display time: ask for the
        // interface version itself, not for whatever the last balloon left.
        FIconData.uTimeOut = kTrayIconVersion;
        Notify(NIM_SETVERSION, 0);
    }
    return true;
}

void TJvTrayIcon::StopIconRetries() {
    if (FIconRetriesLeft == 0) return;
    FIconRetriesLeft = 0;
    StopTimer(kIconRetryTimerId);
}

void TJvTrayIcon::IconRetryTimerExpired() {
    if (FIconRetriesLeft == 0) {
        StopTimer(kIconRetryTimerId);
        return;
    }
    if (ShowIcon() || --FIconRetriesLeft > 0) return;
    StopTimer(kIconRetryTimerId);
    FApplication.IconGivenUp();
}

void TJvTrayIcon::HideIcon() {
    if (!FIconVisible) return;
    // A refused removal leaves the icon where it is, and marked so.
    if (Notify(NIM_DELETE, 0)) FIconVisible = false;
}

void TJvTrayIcon::ReplaceLostIcon(bool wanted) {
    StopIconRetries();
    if (FIconVisible) Notify(NIM_DELETE, 0);
    FIconVisible = false;
    if (wanted) SetIconVisible(true);
}

void TJvTrayIcon::SetIcon(HICON icon) {
    FIcon = icon;
    FIconData.hIcon = icon;
    if (FIconVisible) Notify(NIM_MODIFY, NIF_ICON);
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
            FApplication.CloseForRestart();
        } else {
            FApplication.SessionEnding(wParam != FALSE);
        }
        return 0;
    }
    if (FTaskbarCreated != 0 && message == FTaskbarCreated) {
        FApplication.ShellRestarted();
        return 0;
    }
    if (message == WM_CLOSE) {
        // Never destroyed by a close from outside: the icon would go with it.
        FApplication.CloseRequested(CloseFrom::NotificationWindow);
        return 0;
    }
    return std::nullopt;
}

void TJvTrayIcon::NotificationFailed(std::exception_ptr error) noexcept {
    base::Quietly([&] { FApplication.HandleException(std::move(error)); });
}

}  // namespace kestrin::ui
