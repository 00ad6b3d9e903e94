#include "app/presence.h"

namespace kestrin::app {

namespace {

bool IsShown(Shown shown) { return shown == Shown::FromTray || shown == Shown::WithIcon; }

Shown ShownAfter(Shown shown, PresenceEvent event) {
    switch (event) {
        case PresenceEvent::HideApplication:
        case PresenceEvent::Minimise:
            return Shown::InTray;
        case PresenceEvent::LeftClick:
            // A left click hides an application that counts as visible and
            // restores any other.
            return shown == Shown::FromTray ? Shown::InTray : Shown::FromTray;
        case PresenceEvent::DoubleClick:
        case PresenceEvent::OtherClick:
            return shown == Shown::FromTray ? Shown::FromTray : Shown::WithIcon;
        case PresenceEvent::Restore:
            // The application comes back as a left click brings it; a
            // window already shown stays as it is.
            return IsShown(shown) ? shown : Shown::FromTray;
        case PresenceEvent::ShellRestarted:
        case PresenceEvent::SessionResumed:
            // The application does not count as visible before start-up has
            // hidden it, so the icon is added then too.
            return shown == Shown::Starting ? Shown::InTray : shown;
        case PresenceEvent::SessionEnding:
        case PresenceEvent::IconGivenUp:
        case PresenceEvent::CloseRequested:
        case PresenceEvent::CloseAtMainWindow:
        case PresenceEvent::CloseAtTaskbarWindow:
        case PresenceEvent::CloseAtNotificationWindow:
        case PresenceEvent::CloseAbandoned:
        case PresenceEvent::BoxOpened:
        case PresenceEvent::BoxClosed:
            return shown;
    }
    return shown;
}

// While a box shows, the user's events only bring it forward, and a
// minimise waits for its end: the box never stays on screen alone, and the
// program never goes into the tray under it.
Presence UnderBox(Presence presence, PresenceEvent event) {
    switch (event) {
        case PresenceEvent::LeftClick:
            // A left click would hide a visible application: as a minimise.
            if (presence.shown == Shown::FromTray) {
                presence.minimisePending = true;
                break;
            }
            [[fallthrough]];
        case PresenceEvent::DoubleClick:
        case PresenceEvent::OtherClick:
        case PresenceEvent::Restore:
            // The user wants the program: a minimise asked for before is off.
            presence.minimisePending = false;
            break;
        case PresenceEvent::Minimise:
            presence.minimisePending = IsShown(presence.shown);
            break;
        default:
            break;
    }
    presence.sessionEnding = false;
    return presence;
}

// A new request: one attempt at a time, none under a box, so a later one waits.
Presence Requested(Presence presence) {
    if (presence.box.kind != Box::None || presence.closing) {
        presence.closePending = true;
    } else {
        presence.closing = true;
        presence.closePending = false;
    }
    return presence;
}

// Another program's WM_CLOSE: its window's bit; 0 for any other event.
std::uint8_t CloseMessageBit(PresenceEvent event) {
    switch (event) {
        case PresenceEvent::CloseAtMainWindow: return 0b001;
        case PresenceEvent::CloseAtTaskbarWindow: return 0b010;
        case PresenceEvent::CloseAtNotificationWindow: return 0b100;
        default: return 0;
    }
}

}  // namespace

Presence After(Presence presence, PresenceEvent event, OpenBox box) {
    if (const std::uint8_t window = CloseMessageBit(event)) {
        // One of the latest request's messages, or the first of a new one.
        if ((presence.closeMessages & window) == 0) {
            presence.closeMessages |= window;
            return presence;
        }
        presence.closeMessages = window;
        return Requested(presence);
    }
    switch (event) {
        case PresenceEvent::SessionEnding:
            presence.sessionEnding = true;
            return presence;
        case PresenceEvent::IconGivenUp:
            presence.iconGivenUp = true;
            return presence;
        case PresenceEvent::CloseRequested:
            return Requested(presence);
        case PresenceEvent::CloseAbandoned:
            presence.closing = false;
            return presence;
        case PresenceEvent::BoxOpened:
            presence.box = box;
            return presence;
        case PresenceEvent::BoxClosed:
            presence.box = box;
            if (box.kind == Box::None && presence.minimisePending) {
                presence.minimisePending = false;
                presence.shown = ShownAfter(presence.shown, PresenceEvent::Minimise);
            }
            return presence;
        default:
            break;
    }
    const bool iconEvent = event == PresenceEvent::ShellRestarted || event == PresenceEvent::SessionResumed;
    if (presence.box.kind != Box::None && !iconEvent) return UnderBox(presence, event);
    presence.shown = ShownAfter(presence.shown, event);
    // Whatever else happens shows the icon by the usual rule again, and
    // tries it anew.
    presence.sessionEnding = false;
    presence.iconGivenUp = false;
    return presence;
}

PresenceEvent ClickEvent(ui::TMouseButton button, bool doubleClick) {
    if (doubleClick) return PresenceEvent::DoubleClick;
    return button == ui::mbLeft ? PresenceEvent::LeftClick : PresenceEvent::OtherClick;
}

Scene SceneOf(const Presence& presence) {
    Scene scene;
    scene.window = IsShown(presence.shown);
    // A minimised owner would hide its box: the box stands in while it shows.
    scene.taskbarButton = scene.window || (presence.iconGivenUp && presence.shown == Shown::InTray &&
                                           presence.box.kind == Box::None);
    scene.icon = (presence.shown == Shown::InTray || presence.shown == Shown::WithIcon) && !presence.sessionEnding;
    if (presence.box.kind != Box::None) {
        scene.foreground = Foreground::Box;
    } else if (scene.window) {
        scene.foreground = Foreground::MainWindow;
    }
    return scene;
}

}  // namespace kestrin::app
