#pragma once
// What start-up and close need beyond the list (EntryView): the main window's
// labels, balloon switch and switch warning, the application's minimise hook,
// the tray icon, and the public address check. The Windows layer implements
// these; tests record the calls.

#include <string>
#include <vector>

#include "core/monitor_outputs.h"

namespace kestrin::core {

class MainWindowView : public EntryView {
public:
    // The tick mark of "View hints for new entries" (N3); BalloonSwitch() reads it.
    virtual void SetBalloonSwitch(bool ticked) = 0;
    // Label1.
    virtual void SetSwitchSummary(const std::u16string& text) = 0;
    // Label2.
    virtual void SetPublicAddress(const std::u16string& text) = 0;
    // A modal message with the application title as caption, no icon, one OK
    // button, centred on the screen; returns once it is dismissed. Deliveries
    // go on while it is open. False when the program was asked to close
    // meanwhile: start-up goes no further.
    virtual bool ShowSwitchWarning(const std::u16string& text) = 0;
    // Makes the minimise hook (hide the main window, state minimised) the
    // handler of the application's minimised event.
    virtual void RegisterMinimiseHook() = 0;
    // Hides the main window and sets its window state to minimised.
    virtual void HideAndMinimise() = 0;
};

class TrayIconControl {
public:
    virtual ~TrayIconControl() = default;
    virtual void SetActive(bool active) = 0;
    // Minimises the application if it counts as visible, hides the task-bar
    // window and shows the tray icon.
    virtual void HideApplication() = 0;
};

class PublicAddressCheck {
public:
    virtual ~PublicAddressCheck() = default;
    // The first valid address the services give, in list order, or the empty
    // text when none does. Failures of the services are not errors.
    virtual std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls) = 0;
    // Appends the history line for the address to ip_list.cfg; throws EInOutError.
    virtual void AppendHistoryLine(const std::u16string& address) = 0;
};

}  // namespace kestrin::core
