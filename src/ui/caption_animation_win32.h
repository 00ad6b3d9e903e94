#pragma once
// The caption animation between a window and the shell's notification area.

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

}  // namespace kestrin::ui
