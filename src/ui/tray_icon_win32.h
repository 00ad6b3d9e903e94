#pragma once
// JvTrayIcon1: the program's icon in the shell's notification area. It puts
// the icon there and takes it away when the application's presence says so,
// reports clicks on the icon and the shell's events to the application, and
// shows the balloons that announce new entries.

#include <windows.h>

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "base/date_time.h"
#include "core/user_view.h"
#include "ui/notification_window_win32.h"
#include "ui/notify_icon_data.h"
#include "ui/tray_application.h"
#include "ui/tray_icon_types.h"
#include "ui/tray_shell.h"

namespace kestrin::ui {

// The notification window's timers.
inline constexpr UINT_PTR kBalloonTimerId = 2;
inline constexpr UINT_PTR kClickTimerId = 3;
inline constexpr UINT_PTR kIconRetryTimerId = 4;
inline constexpr UINT_PTR kBalloonSendTimerId = 5;

// A balloon goes to the shell this long after the first request of a burst,
// so that the burst's deliveries come first; only its latest is sent. Each
// shell call blocks until the shell has answered: in a storm that makes at
// most five a second, whatever the rate of entries.
inline constexpr UINT kBalloonSendDelay = 200;

// A refused icon is asked for again this often, this many times: a shell
// that is busy at log-on answers within that time.
inline constexpr UINT kIconRetryInterval = 2000;
inline constexpr int kIconRetries = 60;

// Posted by a double click on the icon to the notification window itself.
inline constexpr UINT kDoubleClickMessage = WM_USER + 2;

class TJvTrayIcon final : public core::Balloons, private NotificationWindowClient {
public:
    using ClickHandler = std::function<void(const TrayClick&)>;

    // Creates the notification window; nothing is in the notification area
    // until the component is active and the presence shows the icon.
    // Everything passed in must outlive the object.
    TJvTrayIcon(TrayApplication& application, TrayShell& shell, const base::Clock& clock, HICON icon);
    // Deactivates: timers stopped, icon removed.
    ~TJvTrayIcon() override;
    TJvTrayIcon(const TJvTrayIcon&) = delete;
    TJvTrayIcon& operator=(const TJvTrayIcon&) = delete;

    ClickHandler OnClick;
    ClickHandler OnDblClick;

    void SetActive(bool active);

    bool IconVisible() const noexcept { return FIconVisible; }
    // Adds the icon (while active) or removes it, as the presence says; a
    // refused removal leaves things as they were. A refused addition is
    // tried again every kIconRetryInterval, at most kIconRetries times,
    // until it is accepted or no longer wanted; then the application hears
    // that it was given up.
    void SetIconVisible(bool visible);
    // After a shell restart: the new shell holds no icons, so the icon is
    // forgotten even when the removal is refused, then added if `wanted`,
    // with retries afresh.
    void ReplaceLostIcon(bool wanted);
    // Shows `icon` from now on, at once where the icon is in the notification
    // area; the caller keeps the old one until this has returned.
    void SetIcon(HICON icon);

    // core::Balloons. A balloon with text waits kBalloonSendDelay for the
    // shell, replaced by any newer one meanwhile; an empty one, which removes
    // the balloon shown, goes at once.
    void BalloonHint(const std::u16string& title, const std::u16string& value, core::TBalloonType balloonType,
                     int delayMilliseconds, bool cancelPrevious) override;
    // Clears the balloons shown; one waiting for the shell still goes.
    void HideBalloon();
    bool AcceptBalloons();

    HWND NotificationWindowHandle() const noexcept { return FWindow.Handle(); }

private:
    // NotificationWindowClient
    std::optional<LRESULT> HandleNotification(UINT message, WPARAM wParam, LPARAM lParam) override;
    void NotificationFailed(std::exception_ptr error) noexcept override;

    bool Notify(DWORD message, UINT flags);
    void Activate();
    void Deactivate() noexcept;
    // False when the shell refused the icon; true when it is in the tray or
    // does not belong there.
    bool ShowIcon();
    void HideIcon();
    void StopIconRetries();
    void IconRetryTimerExpired();
    void StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);

    // Mouse and balloon events of the icon; the result of the callback message.
    LRESULT IconEvent(LPARAM event);
    void MouseEvent(UINT mouseMessage);
    void ClickTimerExpired();
    void ReportDoubleClick();
    void BalloonTimerExpired();
    void BalloonSendTimerExpired();
    // Puts the balloon into the record and asks the shell; whether it took it.
    bool SendBalloon(const std::u16string& title, const std::u16string& value, core::TBalloonType balloonType,
                     int delayMilliseconds);
    LRESULT BalloonEvent(LPARAM event);

    TrayApplication& FApplication;
    TrayShell& FShell;
    const base::Clock& FClock;
    HICON FIcon;
    const UINT FTaskbarCreated;
    bool FActive = false;
    // The shell accepted the icon and it has not been removed since.
    bool FIconVisible = false;
    // A button went down on the icon and has not come up yet.
    bool FClicked = false;
    // A click is pending until the double-click time runs out.
    bool FWaitingForDoubleClick = false;
    // Tries of a refused icon still to come; 0 while none is being retried.
    int FIconRetriesLeft = 0;
    TNotifyIconDataXP FIconData{};
    // The click waiting for the double-click time to pass.
    TMouseButton FClickedButton = mbLeft;
    std::uint8_t FClickedShift = 0;
    int FClickedX = 0;
    int FClickedY = 0;
    // A double click posted and not reported yet.
    std::optional<TrayClick> FPendingDoubleClick;
    // Balloons shown and not yet cleared: 0 or 1, as each replaces the last.
    int FBalloonCount = 0;
    // When the latest balloon was asked for, and its display time in whole seconds.
    base::LocalDateTime FTime{};
    std::chrono::seconds FTimeDelay{0};
    struct Balloon {
        std::u16string title;
        std::u16string value;
        core::TBalloonType type;
        int delayMilliseconds;
    };
    // Asked for and not yet sent to the shell.
    std::optional<Balloon> FWaitingBalloon;
    NotificationWindow FWindow;
};

}  // namespace kestrin::ui
