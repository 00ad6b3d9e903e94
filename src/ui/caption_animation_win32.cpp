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

ANIMATIONINFO AnimationInfo(int minAnimate) {
    ANIMATIONINFO info{};
    info.cbSize = sizeof info;
    info.iMinAnimate = minAnimate;
    return info;
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

MinimiseAnimationOff::MinimiseAnimationOff() noexcept {
    ANIMATIONINFO info = AnimationInfo(0);
    if (!::SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0) || info.iMinAnimate == 0) return;
    // For this session only: nothing is written to the user's profile.
    ANIMATIONINFO off = AnimationInfo(0);
    switchedOff_ = ::SystemParametersInfoW(SPI_SETANIMATION, sizeof off, &off, 0) != FALSE;
}

MinimiseAnimationOff::~MinimiseAnimationOff() {
    if (!switchedOff_) return;
    ANIMATIONINFO on = AnimationInfo(1);
    ::SystemParametersInfoW(SPI_SETANIMATION, sizeof on, &on, 0);
}

}  // namespace kestrin::ui
