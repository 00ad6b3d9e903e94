#include "ui/tray_icon_win32.h"

#include "ui/caption_animation_win32.h"

namespace kestrin::ui {

namespace {

constexpr UINT_PTR kMinimiseHookId = 1;

}  // namespace

TJvTrayIcon::TJvTrayIcon(TrayApplication& application, TrayShell& shell, const base::Clock& clock, HICON icon)
    : application_(application),
      shell_(shell),
      clock_(clock),
      icon_(icon),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      window_(*this) {}

TJvTrayIcon::~TJvTrayIcon() {
    if (active_) Deactivate();
}

void TJvTrayIcon::SetState(std::uint8_t flag, bool on) noexcept {
    state_ = static_cast<std::uint8_t>(on ? state_ | flag : state_ & ~flag);
}

bool TJvTrayIcon::Notify(DWORD message, UINT flags) {
    iconData_.uFlags = flags;
    // With tvNoRetryOnFailure a refusal is final.
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
    hook_ = WindowSubclass(application_.TaskbarWindow(), &TJvTrayIcon::MinimiseHook, kMinimiseHookId,
                           reinterpret_cast<DWORD_PTR>(this));
    SetState(tisHooked, static_cast<bool>(hook_));
    active_ = true;
    // The application still counts as visible: no icon yet.
    ShowIcon();
    if (!HasOption(tvVisibleTaskBar)) {
        // The program starts hidden. The application never shows its main
        // window at start on its own, so there is nothing more to turn off.
        const HWND taskbar = application_.TaskbarWindow();
        ::SetActiveWindow(taskbar);
        MinimiseAnimationOff noAnimation;
        application_.ShowTaskbarWindow(SW_HIDE);
        SetState(tisAppHiddenButNotMinimized, true);
    }
}

void TJvTrayIcon::Deactivate() noexcept {
    StopTimer(kClickTimerId);
    StopTimer(kBalloonTimerId);
    SetState(tisWaitingForDoubleClick, false);
    hook_.Reset();
    SetState(tisHooked, false);
    try {
        HideIcon();
    } catch (...) {
        // Ending anyway; the shell drops the icon of a window that is gone.
    }
    active_ = false;
}

bool TJvTrayIcon::ApplicationVisible() const {
    return !HasState(tisAppHiddenButNotMinimized) && !::IsIconic(application_.TaskbarWindow());
}

void TJvTrayIcon::SetIconVisible(bool visible) {
    if (visible) {
        ShowIcon();
    } else {
        HideIcon();
    }
}

void TJvTrayIcon::ShowIcon() {
    if (HasState(tisTrayIconVisible) || !active_) return;
    if (HasOption(tvAutoHideIcon) && ApplicationVisible()) return;
    if (!Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP)) return;
    SetState(tisTrayIconVisible, true);
    if (shell_.Version().AtLeast5()) {
        // uTimeOut is shared with the balloons' display time: ask for the
        // interface version itself, not for whatever the last balloon left.
        iconData_.uTimeOut = kTrayIconVersion;
        Notify(NIM_SETVERSION, 0);
    }
}

void TJvTrayIcon::HideIcon() {
    if (!HasState(tisTrayIconVisible)) return;
    // A refused removal leaves the icon where it is, and marked so.
    if (Notify(NIM_DELETE, 0)) SetState(tisTrayIconVisible, false);
}

void TJvTrayIcon::HideApplication() {
    if (ApplicationVisible()) {
        if (const HWND main = application_.MainWindowHandle(); main != nullptr) {
            if (HasOption(tvAnimateToTray)) AnimateToTray(main);
            ::ShowWindow(main, SW_HIDE);
        }
        application_.Minimise();
    }
    application_.ShowTaskbarWindow(SW_HIDE);
    visibility_ = static_cast<std::uint16_t>(visibility_ & ~tvVisibleTaskBar);
    if (HasOption(tvAutoHideIcon)) ShowIcon();
}

void TJvTrayIcon::ShowApplication() {
    if (HasState(tisAppHiddenButNotMinimized)) {
        MinimiseAnimationOff noAnimation;
        application_.ShowTaskbarWindow(SW_MINIMIZE);
    }
    visibility_ = static_cast<std::uint16_t>(visibility_ | tvVisibleTaskBar);
    application_.ShowTaskbarWindow(SW_SHOW);
    if (!ApplicationVisible()) {
        const HWND main = application_.MainWindowHandle();
        if (main != nullptr && HasOption(tvAnimateToTray)) AnimateFromTray(main);
        application_.Restore();
        if (main != nullptr) ::ShowWindow(main, SW_SHOW);
    }
    SetState(tisAppHiddenButNotMinimized, false);
    if (HasOption(tvAutoHideIcon)) HideIcon();
}

LRESULT CALLBACK TJvTrayIcon::MinimiseHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    auto& self = *reinterpret_cast<TJvTrayIcon*>(data);
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE && self.HasOption(tvAutoHide) && self.active_) {
        try {
            self.HideApplication();
        } catch (...) {
            self.NotificationFailed(std::current_exception());
        }
    }
    // The hook only watches: the application still gets every message.
    return ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> TJvTrayIcon::HandleNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) return IconEvent(lParam);
    if (message == WM_TIMER) {
        if (wParam == kClickTimerId) ClickTimerExpired();
        if (wParam == kBalloonTimerId) BalloonTimerExpired();
        return 0;
    }
    if (message == WM_ENDSESSION) {
        SessionEnding(wParam != FALSE);
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        ShellRestarted();
        return 0;
    }
    return std::nullopt;
}

void TJvTrayIcon::NotificationFailed(std::exception_ptr error) noexcept {
    try {
        application_.HandleException(std::move(error));
    } catch (...) {
    }
}

void TJvTrayIcon::ShellRestarted() {
    // The new shell holds no icons, so a refused removal here does not mean
    // the icon is still there: forget it and add it again.
    if (HasState(tisTrayIconVisible)) Notify(NIM_DELETE, 0);
    SetState(tisTrayIconVisible, false);
    if (active_) ShowIcon();
}

void TJvTrayIcon::SessionEnding(bool ending) {
    if (ending) {
        HideIcon();
    } else if (active_) {
        ShowIcon();
    }
}

}  // namespace kestrin::ui
