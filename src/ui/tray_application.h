#pragma once
// What the tray icon reports to the application, whose presence alone
// decides what the user sees: which windows show, whether the task-bar
// button shows and whether the icon is in the tray. The icon carries that
// out and never asks back. Clicks reach it through OnClick and OnDblClick.

#include <exception>

#include "ui/close_request.h"

namespace kestrin::ui {

class TrayApplication {
public:
    virtual ~TrayApplication() = default;
    // The shell restarted and lost every icon.
    virtual void ShellRestarted() = 0;
    // The user's session ends (true) or the end was cancelled (false).
    virtual void SessionEnding(bool ending) = 0;
    // The system asks the program to close, not the session to end (the
    // Restart Manager: an installer, an update): nothing may hold that up.
    virtual void CloseForRestart() = 0;
    // The shell refused the icon every time it was tried again.
    virtual void IconGivenUp() = 0;
    // A close request; from the tray icon, a WM_CLOSE at the notification
    // window, as taskkill sends it to every top-level window of the program.
    virtual void CloseRequested(CloseFrom from) = 0;
    // An error escaped the notification window's message handling.
    virtual void HandleException(std::exception_ptr error) = 0;
};

}  // namespace kestrin::ui
