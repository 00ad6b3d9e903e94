#pragma once
// Where the program stands for its user, and the one rule that moves it.
// From the presence alone follows what the user sees: whether the main
// window and the task-bar button show and whether the icon is in the tray.

#include <cstdint>

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

enum class PresenceEvent : std::uint8_t {
    HideApplication,  // start-up puts the program into the tray
    LeftClick,        // on the icon, once the double-click time has passed
    DoubleClick,      // on the icon, any button
    OtherClick,       // right or middle button, once the double-click time has passed
    Minimise,         // the caption's box, the system menu, the task-bar button
    Restore,          // the task-bar window's restore command
    ShellRestarted,   // "TaskbarCreated": every icon is lost
    SessionEnding,    // WM_ENDSESSION true: the icon goes
    SessionResumed,   // WM_ENDSESSION false: the end was cancelled
    CloseRequested,   // any top-level window's WM_CLOSE, "&Close", Alt+F4
    CloseAbandoned,   // the close handling failed; the error box was shown
};

struct Presence {
    Shown shown = Shown::Starting;
    // The session is ending: no icon until something shows it again.
    bool sessionEnding = false;
    // A close is in progress (its error box may be open): further close
    // requests are ignored until it ends or is abandoned.
    bool closing = false;

    friend bool operator==(const Presence&, const Presence&) = default;
};

// The presence after `event`.
Presence After(Presence presence, PresenceEvent event);

// What the user sees in a presence.
struct Scene {
    bool window = false;
    bool taskbarButton = false;
    bool icon = false;
};
Scene SceneOf(const Presence& presence);

// The application counts as visible: a left click on a (left-over) icon
// would hide it, and the icon stays out of the tray.
inline bool CountsAsVisible(const Presence& presence) { return presence.shown == Shown::FromTray; }

}  // namespace kestrin::app
