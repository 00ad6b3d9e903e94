#include "ui/caption_animation_win32.h"

namespace kestrin::ui {

namespace {

void Animate(HWND window, bool toTray) {
    const std::optional<RECT> tray = NotificationAreaRect();
    if (!tray) return;
    RECT bounds;
    if (!::GetWindowRect(window, &bounds)) return;
    if (toTray) {
        ::DrawAnimatedRects(window, IDANI_CAPTION, &bounds, &*tray);
    } else {
        ::DrawAnimatedRects(window, IDANI_CAPTION, &*tray, &bounds);
    }
}

}  // namespace

std::optional<RECT> NotificationAreaRect() {
    const HWND shellTray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (shellTray == nullptr) return std::nullopt;
    const HWND notifyArea = ::FindWindowExW(shellTray, nullptr, L"TrayNotifyWnd", nullptr);
    if (notifyArea == nullptr) return std::nullopt;
    RECT bounds;
    if (!::GetWindowRect(notifyArea, &bounds)) return std::nullopt;
    return bounds;
}

void AnimateToTray(HWND window) {
    Animate(window, true);
}

void AnimateFromTray(HWND window) {
    Animate(window, false);
}

}  // namespace kestrin::ui
