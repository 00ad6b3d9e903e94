#pragma once
// The one owner of what the user sees: it keeps the program's presence and
// carries every change of it over to the real windows, the task-bar window's
// button and the tray icon, and says which window gets the foreground. Nobody
// else shows or hides these windows or the icon while the program runs.

#include <windows.h>

#include <vector>

#include "app/presence.h"
#include "ui/main_window_win32.h"
#include "ui/tray_icon_types.h"

namespace kestrin::ui {
class TJvTrayIcon;
}

namespace kestrin::app {

class WindowPresence {
public:
    // All three must outlive the object.
    WindowPresence(HWND taskbarWindow, ui::MainWindow& mainWindow, ui::TJvTrayIcon& trayIcon) noexcept
        : taskbarWindow_(taskbarWindow), mainWindow_(mainWindow), trayIcon_(trayIcon) {}
    WindowPresence(const WindowPresence&) = delete;
    WindowPresence& operator=(const WindowPresence&) = delete;

    const Presence& Current() const noexcept { return presence_; }

    // Moves the presence by `event` and makes windows, button and icon show
    // it. `click` is the click that a click event reports.
    void Handle(PresenceEvent event, const ui::TrayClick& click = {});

    // A modal box opened (`box`, before it shows) or closed. `before` is the
    // window that had the foreground when it was asked for.
    void BoxOpened(Box kind, HWND box, HWND before);
    void BoxClosed();

    // From now on hiding into the tray also sets the main window's state to
    // minimised (the application's minimise hook).
    void RegisterMinimiseHook() noexcept { minimiseHookRegistered_ = true; }

    // The close went through: neither window shows any more.
    void Closed();

    // The task-bar window was activated (the user chose its button, or
    // Alt+Tab): the activation goes on to the box or the window the user
    // works in, and never stays with a window nobody sees.
    void PassActivationOn();

    // The main window or the task-bar window moved, changed size or was
    // shown or hidden, perhaps by another program (Win+M, the task manager,
    // a script): a window minimised or hidden against the presence is a
    // minimise, one shown against it a restore; whatever the event leaves
    // differing goes back to what the presence says. Called once the change
    // has finished; for the program's own changes it finds nothing to do.
    void NoticeOutsideChange();

private:
    struct ShowingBox {
        HWND handle;
        OpenBox open;
        HWND before;
    };

    void Show(const Scene& was, const Scene& now, PresenceEvent event, const ui::TrayClick& click);
    void ShowMainWindow(PresenceEvent event, const ui::TrayClick& click, bool wasShown);
    void HideMainWindow();
    void ShowTaskbarButton(const Scene& scene);
    void ShowIcon(const Scene& was, const Scene& now, PresenceEvent event, bool underBox);
    // The foreground as the scene wants it after an activation; `before` is
    // where it goes when nothing of the program shows, `at` where the
    // keyboard goes in the main window. The one place that chooses it.
    void Activate(const Scene& scene, HWND before, ui::KeyboardAt at = ui::KeyboardAt::LastFocused);
    // A hidden window of the program never keeps the foreground.
    void KeepForegroundVisible();
    OpenBox OwnerOf(Box kind, HWND box) const;

    HWND taskbarWindow_;
    ui::MainWindow& mainWindow_;
    ui::TJvTrayIcon& trayIcon_;
    Presence presence_;
    // The boxes that show, innermost last.
    std::vector<ShowingBox> boxes_;
    bool minimiseHookRegistered_ = false;
    // The close went through: nothing shows any more, whatever is reported.
    bool closed_ = false;
};

}  // namespace kestrin::app
