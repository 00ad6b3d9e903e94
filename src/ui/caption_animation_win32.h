#pragma once
// The caption animation between a window and the shell's notification area,
// and the system's minimise animation switched off for one call.

#include <windows.h>

#include <optional>

namespace kestrin::ui {

// The notification area: "TrayNotifyWnd" inside the top-level "Shell_TrayWnd";
// nothing when the shell has none.
std::optional<RECT> NotificationAreaRect();

// Draws the caption animation from the window's rectangle to the
// notification area, or back; nothing when there is no notification area.
void AnimateToTray(HWND window);
void AnimateFromTray(HWND window);

// Switches the system's minimise and restore animation off for its scope.
class MinimiseAnimationOff {
public:
    MinimiseAnimationOff() noexcept;
    ~MinimiseAnimationOff();
    MinimiseAnimationOff(const MinimiseAnimationOff&) = delete;
    MinimiseAnimationOff& operator=(const MinimiseAnimationOff&) = delete;

private:
    bool switchedOff_ = false;
};

}  // namespace kestrin::ui
