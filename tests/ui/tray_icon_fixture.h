#pragma once
// A tray icon on a stand-in application that records what the icon reports.
// The shell and the timers are recorded; each test drives the notification
// window with the messages the shell, the timers and a user's clicks send.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "recording_tray_shell.h"
#include "support/fixed_clock.h"
#include "ui/tray_icon_win32.h"

namespace kestrin::test {

// Records what the tray icon reports.
class StandInApplication final : public ui::TrayApplication {
public:
    void ShellRestarted() override { ++shellRestarts; }
    void SessionEnding(bool ending) override { sessionEnds.push_back(ending); }
    void CloseRequested(ui::CloseFrom) override { ++closeRequests; }
    void CloseForRestart() override { ++closesForRestart; }
    void IconGivenUp() override { ++iconsGivenUp; }
    void HandleException(std::exception_ptr error) override { errors.push_back(error); }

    int shellRestarts = 0;
    int closeRequests = 0;
    int closesForRestart = 0;
    int iconsGivenUp = 0;
    std::vector<bool> sessionEnds;
    std::vector<std::exception_ptr> errors;
};

class TrayIconTest : public ::testing::Test {
protected:
    RecordingTrayShell shell;
    FixedClock clock;
    StandInApplication application;
    ui::TJvTrayIcon tray{application, shell, clock, nullptr};
    std::vector<ui::TrayClick> clicks;
    std::vector<ui::TrayClick> doubleClicks;

    void SetUp() override {
        tray.OnClick = [this](const ui::TrayClick& click) { clicks.push_back(click); };
        tray.OnDblClick = [this](const ui::TrayClick& click) { doubleClicks.push_back(click); };
        tray.SetActive(true);
    }

    // As start-up leaves it: hidden, with its icon; the calls so far forgotten.
    void IntoTheTray() {
        tray.SetIconVisible(true);
        ASSERT_TRUE(tray.IconVisible());
        shell.calls.clear();
    }
    LRESULT IconEvent(LPARAM event) {
        return ::SendMessageW(tray.NotificationWindowHandle(), ui::kTrayCallbackMessage, ui::kTrayIconId, event);
    }
    // What the notification window posted to itself, handled.
    void HandlePosted() {
        MSG message;
        while (::PeekMessageW(&message, tray.NotificationWindowHandle(), 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
    void TimerExpires(UINT_PTR id) { ::SendMessageW(tray.NotificationWindowHandle(), WM_TIMER, id, 0); }
    void Click(UINT down, UINT up) {
        IconEvent(down);
        IconEvent(up);
    }
};

}  // namespace kestrin::test
