#include "app/presence.h"

namespace kestrin::app {

namespace {

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
            return shown == Shown::FromTray || shown == Shown::WithIcon ? shown : Shown::FromTray;
        case PresenceEvent::ShellRestarted:
        case PresenceEvent::SessionResumed:
            // The application does not count as visible before start-up has
            // hidden it, so the icon is added then too.
            return shown == Shown::Starting ? Shown::InTray : shown;
        case PresenceEvent::SessionEnding:
        case PresenceEvent::CloseRequested:
        case PresenceEvent::CloseAbandoned:
            return shown;
    }
    return shown;
}

}  // namespace

Presence After(Presence presence, PresenceEvent event) {
    presence.shown = ShownAfter(presence.shown, event);
    switch (event) {
        case PresenceEvent::SessionEnding:
            presence.sessionEnding = true;
            break;
        case PresenceEvent::CloseRequested:
            presence.closing = true;
            break;
        case PresenceEvent::CloseAbandoned:
            presence.closing = false;
            break;
        default:
            // Whatever else happens shows the icon by the usual rule again.
            presence.sessionEnding = false;
            break;
    }
    return presence;
}

Scene SceneOf(const Presence& presence) {
    Scene scene;
    scene.window = presence.shown == Shown::FromTray || presence.shown == Shown::WithIcon;
    scene.taskbarButton = scene.window;
    scene.icon = (presence.shown == Shown::InTray || presence.shown == Shown::WithIcon) && !presence.sessionEnding;
    return scene;
}

}  // namespace kestrin::app
