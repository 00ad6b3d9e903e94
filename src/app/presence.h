#pragma once
// Where the program stands for its user, and the one rule that moves it.
// From the presence alone follows what the user sees: whether the main
// window and the task-bar button show, whether the icon is in the tray, and
// which window an activation of the program brings to the front.

#include <cstdint>

#include "ui/tray_icon_types.h"

namespace kestrin::app {

enum class Shown : std::uint8_t {
    // Start-up has not put the program into the tray yet: nothing shows.
    Starting,
    // No window, no task-bar button; the icon in the tray.
    InTray,
    // Window and task-bar button; the icon taken away (a left click, or a
    // restore, brought the application back).
    FromTray,
    // Window and task-bar button; the icon kept (a double click, or a click
    // with another button, only showed the window).
    WithIcon,
};

// The program's modal boxes. Each runs a modal loop of its own, in which the
// program's other events go on.
enum class Box : std::uint8_t {
    None,
    SwitchWarning,  // start-up's, owned by nobody, every window disabled
    Error,          // an error from a handler, a failed close or start-up
    About,
};

// The window a box belongs to: it is disabled while the box shows.
enum class BoxOwner : std::uint8_t { None, TaskbarWindow, MainWindow };

struct OpenBox {
    Box kind = Box::None;
    BoxOwner owner = BoxOwner::None;

    friend bool operator==(const OpenBox&, const OpenBox&) = default;
};

enum class PresenceEvent : std::uint8_t {
    HideApplication,  // start-up puts the program into the tray
    LeftClick,        // on the icon, once the double-click time has passed
    DoubleClick,      // on the icon, any button
    OtherClick,       // right or middle button, once the double-click time has passed
    Minimise,         // the caption's box, the system menu, the task-bar button, another program
    Restore,          // the task-bar window's restore command
    ShellRestarted,   // "TaskbarCreated": every icon is lost
    SessionEnding,    // WM_ENDSESSION true: the icon goes
    SessionResumed,   // WM_ENDSESSION false: the end was cancelled
    IconGivenUp,      // the shell refused the icon for the whole time it was tried again
    CloseRequested,   // the user's own: "&Close", the close box, the system menu, Alt+F4; or one that waited
    // Another program's WM_CLOSE (taskkill, the installer, the task manager)
    // at one of the program's top-level windows.
    CloseAtMainWindow,
    CloseAtTaskbarWindow,
    CloseAtNotificationWindow,
    CloseAbandoned,   // the close handling failed; the error box was shown
    BoxOpened,        // a modal box opens (which one: the event's box)
    BoxClosed,        // the innermost box closed (the one still open, if any: the event's box)
};

struct Presence {
    Shown shown = Shown::Starting;
    // The session is ending: no icon until something shows it again.
    bool sessionEnding = false;
    // A close is being tried: its error box may be about to open.
    bool closing = false;
    // The innermost modal box that shows. While one does, the windows stay as
    // they are: an activation brings the box to the front, a minimise waits.
    OpenBox box;
    // A minimise asked for while a box showed: carried out once it closes.
    bool minimisePending = false;
    // A close asked for while a box showed or a close was being tried: tried
    // once, when neither is the case any more.
    bool closePending = false;
    // The shell refused the icon until the program stopped asking: the
    // task-bar button, minimised, stands in for it.
    bool iconGivenUp = false;
    // The windows whose WM_CLOSE belongs to the latest request of another
    // program, a bit each. taskkill posts one to every window
    // at once, in no order the program can see, some of them maybe only
    // after the attempt's box: each counts once, whenever it arrives. A second
    // one at the same window is a new request. At start every window counts
    // as taken, so the first message is a request of its own.
    std::uint8_t closeMessages = kEveryCloseWindow;

    static constexpr std::uint8_t kEveryCloseWindow = 0b111;

    friend bool operator==(const Presence&, const Presence&) = default;
};

// The presence after `event`; `box` is the box that BoxOpened opens and that
// BoxClosed leaves open.
Presence After(Presence presence, PresenceEvent event, OpenBox box = {});

// Where an activation of the program (its task-bar button, Alt+Tab, a click
// on the icon) puts the keyboard.
enum class Foreground : std::uint8_t {
    Box,         // the open box
    MainWindow,  // the window, in its last focused control
    Elsewhere,   // nothing of the program shows: another program keeps it
};

// What the user sees in a presence. A task-bar button without the window
// shows minimised: a click on it brings the window.
struct Scene {
    bool window = false;
    bool taskbarButton = false;
    bool icon = false;
    Foreground foreground = Foreground::Elsewhere;
};
Scene SceneOf(const Presence& presence);

// The event a click on the icon is: a double click with any button, a left
// click, or a click with another button.
PresenceEvent ClickEvent(ui::TMouseButton button, bool doubleClick);

// A close asked for earlier is due now.
inline bool CloseDue(const Presence& presence) {
    return presence.closePending && presence.box.kind == Box::None && !presence.closing;
}

}  // namespace kestrin::app
