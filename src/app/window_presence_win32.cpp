#include "app/window_presence_win32.h"

#include <dwmapi.h>

#include "ui/caption_animation_win32.h"
#include "ui/tray_icon_win32.h"

namespace kestrin::app {

namespace {

bool IsClick(PresenceEvent event) {
    return event == PresenceEvent::LeftClick || event == PresenceEvent::DoubleClick ||
           event == PresenceEvent::OtherClick;
}

// What the user does to the program itself: under a box, each of these
// brings the box to the front.
bool IsUserEvent(PresenceEvent event) {
    return IsClick(event) || event == PresenceEvent::Minimise || event == PresenceEvent::Restore;
}

// The events after which a refused icon is tried again; others change the
// icon only when they change whether it belongs in the tray. Under a box a
// minimise waits or goes, and the icon stays given up with it: only the
// shell's own events try it there.
bool RetriesIcon(PresenceEvent event, bool underBox) {
    if (event == PresenceEvent::ShellRestarted || event == PresenceEvent::SessionResumed) return true;
    return !underBox && (event == PresenceEvent::HideApplication || event == PresenceEvent::Minimise);
}

bool OfThisThread(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

// Shown but not on this screen: on another virtual desktop, or an app the
// system has suspended. Before Windows 8 the question fails: nothing is.
bool Cloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

// A window of another program that the user sees and can type into.
bool CanTakeForeground(HWND window) {
    return window != nullptr && ::IsWindow(window) && !OfThisThread(window) && ::IsWindowVisible(window) &&
           ::IsWindowEnabled(window) && (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0 &&
           !Cloaked(window);
}

bool OnScreen(HWND window) {
    return ::IsWindowVisible(window) && !::IsIconic(window);
}

// The foreground leaves the program: to `preferred` if it can take it, else
// to the topmost window of another program, as the system itself would
// choose when the active window goes.
void HandForegroundAway(HWND preferred) {
    HWND target = CanTakeForeground(preferred) ? preferred : nullptr;
    for (HWND window = ::GetTopWindow(nullptr); target == nullptr && window != nullptr;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (CanTakeForeground(window)) target = window;
    }
    if (target == nullptr) target = ::GetShellWindow();
    if (target != nullptr) ::SetForegroundWindow(target);
}

}  // namespace

void WindowPresence::Handle(PresenceEvent event, const ui::TrayClick& click) {
    if (closed_) return;
    const Scene was = SceneOf(presence_);
    const bool underBox = presence_.box.kind != Box::None;
    presence_ = After(presence_, event);
    const Scene now = SceneOf(presence_);
    if (!underBox) {
        Show(was, now, event, click);
    } else {
        // The windows stay as they are (a task-bar window minimised from
        // outside comes back, and with it the windows it owns); the user
        // gets the box.
        ShowTaskbarButton(now);
        if (IsUserEvent(event)) Activate(now, nullptr);
    }
    ShowIcon(was, now, event, underBox);
    KeepForegroundVisible();
}

void WindowPresence::Show(const Scene& was, const Scene& now, PresenceEvent event, const ui::TrayClick& click) {
    // The button first, so the window comes up with it and takes the
    // foreground from it; going, the window first, so the animation starts
    // from where it was.
    if (now.window) {
        ShowTaskbarButton(now);
        // Every click brings the window to the front, shown or not.
        if (!was.window || IsClick(event) || event == PresenceEvent::Restore) {
            ShowMainWindow(event, click, was.window);
        }
    } else {
        if (was.window) HideMainWindow();
        ShowTaskbarButton(now);
    }
}

void WindowPresence::ShowIcon(const Scene& was, const Scene& now, PresenceEvent event, bool underBox) {
    if (event == PresenceEvent::ShellRestarted) {
        trayIcon_.ReplaceLostIcon(now.icon);
    } else if (now.icon != was.icon || RetriesIcon(event, underBox)) {
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
    // Shown from the tray, the keyboard starts in the list.
    Activate(SceneOf(presence_), nullptr, ui::KeyboardAt::List);
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

void WindowPresence::ShowTaskbarButton(const Scene& scene) {
    if (scene.window) {
        // Never activated itself: it is invisible and would hold the
        // keyboard. A task-bar window minimised from outside comes back
        // restored, or the next minimise would find it minimised already.
        if (!OnScreen(taskbarWindow_)) ::ShowWindow(taskbarWindow_, SW_SHOWNOACTIVATE);
    } else if (scene.taskbarButton) {
        // Standing in for an icon the shell refused: a click on it restores.
        if (!::IsWindowVisible(taskbarWindow_) || !::IsIconic(taskbarWindow_)) {
            ::ShowWindow(taskbarWindow_, SW_SHOWMINNOACTIVE);
        }
    } else if (::IsWindowVisible(taskbarWindow_)) {
        ::ShowWindow(taskbarWindow_, SW_HIDE);
    }
}

void WindowPresence::NoticeOutsideChange() {
    if (closed_) return;
    const HWND main = mainWindow_.Handle();
    const Scene scene = SceneOf(presence_);
    const bool minimisedButton = scene.taskbarButton && !scene.window;
    // A hidden task-bar window may keep the minimised state of the button
    // that stood in for the icon; nobody sees that.
    const auto minimised = [](HWND window) { return ::IsWindowVisible(window) && ::IsIconic(window); };
    const bool taskbarMinimised = minimised(taskbarWindow_) && !minimisedButton;
    // What another program did: taken off the screen (minimised or hidden),
    // or brought onto it, against what the program shows.
    const bool taken = minimised(main) || taskbarMinimised ||
                       (scene.window && !(::IsWindowVisible(main) && ::IsWindowVisible(taskbarWindow_)));
    const bool brought = !scene.window && (OnScreen(main) || OnScreen(taskbarWindow_));
    // Never left minimised: a minimise from outside would find it minimised
    // already and say nothing.
    if (minimised(main)) ::ShowWindow(main, SW_SHOWNOACTIVATE);
    if (taskbarMinimised) ::ShowWindow(taskbarWindow_, SW_SHOWNOACTIVATE);
    // Off the screen is a minimise: into the tray, as the user's own. Onto
    // it is a restore: the window back as a left click brings it.
    if (taken) {
        Handle(PresenceEvent::Minimise);
    } else if (brought) {
        Handle(PresenceEvent::Restore);
    }
    // Under a box, or where the change was nothing the program shows, the
    // windows go back to what the presence says.
    const Scene now = SceneOf(presence_);
    if (now.window != (::IsWindowVisible(main) != FALSE)) ::ShowWindow(main, now.window ? SW_SHOWNOACTIVATE : SW_HIDE);
    ShowTaskbarButton(now);
    KeepForegroundVisible();
}

void WindowPresence::Activate(const Scene& scene, HWND before, ui::KeyboardAt at) {
    switch (scene.foreground) {
        case Foreground::Box:
            if (!boxes_.empty()) ::SetForegroundWindow(boxes_.back().handle);
            break;
        case Foreground::MainWindow:
            mainWindow_.TakeKeyboard(at);
            break;
        case Foreground::Elsewhere:
            HandForegroundAway(before);
            break;
    }
}

void WindowPresence::KeepForegroundVisible() {
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr || !OfThisThread(foreground) || ::IsWindowVisible(foreground)) return;
    Activate(SceneOf(presence_), nullptr);
}

OpenBox WindowPresence::OwnerOf(Box kind, HWND box) const {
    const HWND owner = ::GetWindow(box, GW_OWNER);
    if (owner == nullptr) return {kind, BoxOwner::None};
    return {kind, owner == mainWindow_.Handle() ? BoxOwner::MainWindow : BoxOwner::TaskbarWindow};
}

void WindowPresence::BoxOpened(Box kind, HWND box, HWND before) {
    const OpenBox open = OwnerOf(kind, box);
    boxes_.push_back({box, open, before});
    presence_ = After(presence_, PresenceEvent::BoxOpened, open);
    // Before the box shows: a button standing in for the icon goes.
    if (!closed_) ShowTaskbarButton(SceneOf(presence_));
}

void WindowPresence::BoxClosed() {
    if (boxes_.empty()) return;
    const HWND before = boxes_.back().before;
    boxes_.pop_back();
    const Scene was = SceneOf(presence_);
    presence_ = After(presence_, PresenceEvent::BoxClosed, boxes_.empty() ? OpenBox{} : boxes_.back().open);
    const Scene now = SceneOf(presence_);
    // A minimise that waited for the box.
    if (now.window != was.window && !closed_) {
        Show(was, now, PresenceEvent::Minimise, {});
        ShowIcon(was, now, PresenceEvent::Minimise, false);
    } else if (!closed_) {
        ShowTaskbarButton(now);
    }
    // The closing box handed the foreground to its owner, which may be
    // hidden; a user who has gone on to another program keeps it.
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr || OfThisThread(foreground)) Activate(now, before);
}

void WindowPresence::Closed() {
    closed_ = true;
    ::ShowWindow(mainWindow_.Handle(), SW_HIDE);
    ::ShowWindow(taskbarWindow_, SW_HIDE);
}

void WindowPresence::PassActivationOn() {
    if (::GetActiveWindow() != taskbarWindow_) return;
    Activate(SceneOf(presence_), nullptr);
}

}  // namespace kestrin::app
