// The tray icon's mouse handling: a button-up is a click only once the
// double-click time has passed without a double click. A double click is
// reported from the notification window's own queue, just after the shell's
// callback has returned. The callback may be a message sent from the shell's
// thread: handled outside the queue, it runs with the message time
// (GetMessageTime) of the program's last queued message, which can be older
// than the user's switch to another program. A window system that stamps the
// keyboard's move with that time (Wine's X11 driver does) refuses it, and the
// window counts as the foreground window while the keys go to the other one.

#include "ui/tray_icon_win32.h"

namespace kestrin::ui {

namespace {

// GetKeyState's high bit: the key or button is down.
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

bool KeyDown(int key) {
    return (::GetKeyState(key) & kKeyDownBit) != 0;
}

std::uint8_t ShiftState() {
    std::uint8_t shift = 0;
    if (KeyDown(VK_SHIFT)) shift |= ssShift;
    if (KeyDown(VK_MENU)) shift |= ssAlt;
    if (KeyDown(VK_CONTROL)) shift |= ssCtrl;
    if (KeyDown(VK_LBUTTON)) shift |= ssLeft;
    if (KeyDown(VK_RBUTTON)) shift |= ssRight;
    if (KeyDown(VK_MBUTTON)) shift |= ssMiddle;
    return shift;
}

}  // namespace

LRESULT TJvTrayIcon::IconEvent(LPARAM event) {
    switch (event) {
        case NIN_BALLOONHIDE:
        case NIN_BALLOONTIMEOUT:
        case NIN_BALLOONUSERCLICK:
            return BalloonEvent(event);
        default:
            MouseEvent(static_cast<UINT>(event));
            return 0;
    }
}

void TJvTrayIcon::MouseEvent(UINT mouseMessage) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const auto click = [&](TMouseButton button) { return TrayClick{button, ShiftState(), cursor.x, cursor.y}; };
    const auto buttonUp = [&](TMouseButton button) {
        if (!FClicked) return;
        FClicked = false;
        FClickedButton = button;
        FClickedShift = ShiftState();
        FClickedX = cursor.x;
        FClickedY = cursor.y;
        if (FWaitingForDoubleClick) return;
        FWaitingForDoubleClick = true;
        StartTimer(kClickTimerId, ::GetDoubleClickTime());
    };
    const auto doubleClick = [&](TMouseButton button) {
        if (FWaitingForDoubleClick) {
            FWaitingForDoubleClick = false;
            StopTimer(kClickTimerId);
        }
        FPendingDoubleClick = click(button);
        if (!::PostMessageW(FWindow.Handle(), kDoubleClickMessage, 0, 0)) ReportDoubleClick();
    };
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            FClicked = true;
            break;
        case WM_LBUTTONUP: buttonUp(mbLeft); break;
        case WM_RBUTTONUP: buttonUp(mbRight); break;
        case WM_MBUTTONUP: buttonUp(mbMiddle); break;
        case WM_LBUTTONDBLCLK: doubleClick(mbLeft); break;
        case WM_RBUTTONDBLCLK: doubleClick(mbRight); break;
        case WM_MBUTTONDBLCLK: doubleClick(mbMiddle); break;
        default:
            // Moves, the context-menu request and keyboard selection: the
            // icon has no tooltip changes and no menu.
            break;
    }
}

void TJvTrayIcon::ClickTimerExpired() {
    StopTimer(kClickTimerId);
    if (!FWaitingForDoubleClick) return;
    FWaitingForDoubleClick = false;
    // What a left click restores or hides besides is the application's to decide.
    if (OnClick) OnClick(TrayClick{FClickedButton, FClickedShift, FClickedX, FClickedY});
}

void TJvTrayIcon::ReportDoubleClick() {
    if (!FPendingDoubleClick) return;
    const TrayClick click = *FPendingDoubleClick;
    FPendingDoubleClick.reset();
    if (OnDblClick) OnDblClick(click);
}

}  // namespace kestrin::ui
