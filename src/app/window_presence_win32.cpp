#include "app/window_presence_win32.h"

#include "ui/caption_animation_win32.h"
#include "ui/tray_icon_win32.h"

namespace kestrin::app {

namespace {

bool IsClick(PresenceEvent event) {
    return event == PresenceEvent::LeftClick || event == PresenceEvent::DoubleClick ||
           event == PresenceEvent::OtherClick;
}

// The events after which a refused icon is tried again; others change the
// icon only when they change whether it belongs in the tray.
bool RetriesIcon(PresenceEvent event) {
    return event == PresenceEvent::HideApplication || event == PresenceEvent::Minimise ||
           event == PresenceEvent::ShellRestarted || event == PresenceEvent::SessionResumed;
}

}  // namespace

void WindowPresence::Handle(PresenceEvent event, const ui::TrayClick& click) {
    const Scene was = SceneOf(presence_);
    presence_ = After(presence_, event);
    const Scene now = SceneOf(presence_);

    // The button first, so the window comes up with it and takes the
    // foreground from it; going, the window first, so the animation starts
    // from where it was.
    if (now.window) {
        ShowTaskbarButton(true);
        // Every click brings the window to the front, shown or not.
        if (!was.window || IsClick(event) || event == PresenceEvent::Restore) {
            ShowMainWindow(event, click, was.window);
        }
    } else {
        if (was.window) HideMainWindow();
        ShowTaskbarButton(false);
    }

    if (event == PresenceEvent::ShellRestarted) {
        trayIcon_.ReplaceLostIcon(now.icon);
    } else if (now.icon != was.icon || RetriesIcon(event)) {
        trayIcon_.SetIconVisible(now.icon);
    }
}

void WindowPresence::ShowMainWindow(PresenceEvent event, const ui::TrayClick& click, bool wasShown) {
    const HWND window = mainWindow_.Handle();
    // The caption flies out of the tray when the application as a whole
    // comes back; a double click or another button only shows the window.
    if (!wasShown && (event == PresenceEvent::LeftClick || event == PresenceEvent::Restore)) {
        ui::AnimateFromTray(window);
    }
    if (event == PresenceEvent::DoubleClick) {
        mainWindow_.JvTrayIcon1DblClick(click);
    } else {
        mainWindow_.JvTrayIcon1Click(click);
    }
}

void WindowPresence::HideMainWindow() {
    const HWND window = mainWindow_.Handle();
    ui::AnimateToTray(window);
    if (minimiseHookRegistered_) {
        mainWindow_.HideAndMinimise();
    } else {
        ::ShowWindow(window, SW_HIDE);
    }
}

void WindowPresence::ShowTaskbarButton(bool shown) {
    if (shown) {
        // Never activated itself: it is invisible and would hold the
        // keyboard. A task-bar window minimised from outside comes back
        // restored, or the next minimise would find it minimised already.
        if (!::IsWindowVisible(taskbarWindow_) || ::IsIconic(taskbarWindow_)) {
            ::ShowWindow(taskbarWindow_, SW_SHOWNOACTIVATE);
        }
    } else if (::IsWindowVisible(taskbarWindow_)) {
        ::ShowWindow(taskbarWindow_, SW_HIDE);
    }
}

void WindowPresence::Closed() {
    ::ShowWindow(mainWindow_.Handle(), SW_HIDE);
    ShowTaskbarButton(false);
}

void WindowPresence::PassActivationOn() {
    if (::GetActiveWindow() != taskbarWindow_) return;
    const auto usable = [](HWND window) {
        return window != nullptr && ::IsWindowVisible(window) && ::IsWindowEnabled(window);
    };
    // The window last active among those the task-bar window owns (a
    // message box, say), else the main window.
    HWND target = ::GetLastActivePopup(taskbarWindow_);
    if (target == taskbarWindow_ || !usable(target)) target = mainWindow_.Handle();
    if (usable(target)) ::SetForegroundWindow(target);
}

}  // namespace kestrin::app
