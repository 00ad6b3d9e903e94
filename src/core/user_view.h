#pragma once
// What the user sees, as the monitor's logic asks for it: split by what it is
// for, not by which window carries it. The application hands each to the one
// part that shows it (the list and the labels to the main window, the
// balloons to the tray icon, "into the tray" to its presence); nothing is
// relayed. Tests record the calls.

#include <cstdint>
#include <string>

namespace kestrin::core {

// The tray icon's balloon kinds.
enum TBalloonType : std::uint8_t { btNone = 0, btError = 1, btInfo = 2, btWarning = 3 };

// ListBox1, the list of received entries.
class EntryList {
public:
    virtual ~EntryList() = default;
    // To owner-drawn rows of fixed height; nothing when it already is.
    virtual void SetListOwnerDrawFixed() = 0;
    // Appends a row with its text colour (0x00BBGGRR); throws when the list refuses it.
    virtual void AddListEntry(const std::u16string& line, std::uint32_t colour) = 0;
    // LB_SETHORIZONTALEXTENT.
    virtual void SetListHorizontalExtent(int width) = 0;
};

// The balloons that announce new entries from the tray icon.
class Balloons {
public:
    virtual ~Balloons() = default;
    // `delayMilliseconds` is the display time; `cancelPrevious` clears the
    // earlier balloons first. Dropped while the icon is not in the tray.
    virtual void BalloonHint(const std::u16string& title, const std::u16string& value, TBalloonType balloonType,
                             int delayMilliseconds, bool cancelPrevious) = 0;
};

// The main window's labels, its balloon switch and start-up's switch warning.
class FormControls {
public:
    virtual ~FormControls() = default;
    // The tick mark of "View hints for new entries" (N3).
    virtual void SetBalloonSwitch(bool ticked) = 0;
    virtual bool BalloonSwitch() const = 0;
    // Label1.
    virtual void SetSwitchSummary(const std::u16string& text) = 0;
    // Label2.
    virtual void SetPublicAddress(const std::u16string& text) = 0;
    // A modal message with the application title as caption, no icon, one OK
    // button, centred on the screen; returns once it is dismissed. Deliveries
    // go on while it is open. False when the program was asked to close
    // meanwhile: start-up goes no further.
    virtual bool ShowSwitchWarning(const std::u16string& text) = 0;
};

// Into the tray: what start-up asks of the application's presence.
class TrayPresence {
public:
    virtual ~TrayPresence() = default;
    // From now on a minimise of the application also hides the main window
    // and sets its state to minimised.
    virtual void RegisterMinimiseHook() = 0;
    // JvTrayIcon1 becomes active; the icon comes with HideApplication.
    virtual void ActivateTrayIcon() = 0;
    // No window, no task-bar button, the icon in the tray.
    virtual void HideApplication() = 0;
    // Hides the main window and sets its state to minimised.
    virtual void HideMainWindow() = 0;
};

// All of it, as start-up and the entry processing reach it.
struct UserView {
    EntryList& list;
    Balloons& balloons;
    FormControls& controls;
    TrayPresence& presence;
};

}  // namespace kestrin::core
