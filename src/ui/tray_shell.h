#pragma once
// What the tray icon asks of the system: the shell's notification icons, the
// shell's version and the notification window's timers. SystemTrayShell()
// is the real one; tests record every call and can make the shell refuse one.

#include <windows.h>

#include "ui/notify_icon_data.h"

namespace kestrin::ui {

struct ShellVersion {
    int major = 0;
    int minor = 0;
    // Balloons and the version request need 5.0 or later.
    bool AtLeast5() const noexcept { return major >= 5; }
};

class TrayShell {
public:
    virtual ~TrayShell() = default;
    // Shell_NotifyIconW; false when the shell refuses the call.
    virtual bool NotifyIcon(DWORD message, const TNotifyIconDataXP& data) = 0;
    // The file version of shell32.dll.
    virtual ShellVersion Version() = 0;
    // SetTimer and KillTimer on `window`; starting a running timer restarts it.
    virtual void StartTimer(HWND window, UINT_PTR id, UINT milliseconds) = 0;
    virtual void StopTimer(HWND window, UINT_PTR id) = 0;
};

// The shell and the timers of the running system; the version is read once.
TrayShell& SystemTrayShell();

}  // namespace kestrin::ui
