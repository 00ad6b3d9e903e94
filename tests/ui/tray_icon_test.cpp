// The tray icon: its record and notification window, adding and removing
// the icon, clicks and double clicks on it, a refusing shell, and what it
// reports of the shell, the session and a close from outside.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "tray_icon_fixture.h"

namespace kestrin::test {
namespace {

constexpr UINT kAddFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

std::wstring ClassName(HWND window) {
    std::array<wchar_t, 64> name{};
    ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

TEST_F(TrayIconTest, ActivationAddsNoIconAndTheLaterAddCarriesTheRecord) {
    // The icon comes when start-up hides the application, not before.
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(tray.IconVisible());
    tray.SetIconVisible(true);
    ASSERT_FALSE(shell.calls.empty());
    const ui::TNotifyIconDataXP& data = shell.calls[0].data;
    EXPECT_EQ(data.cbSize, 952u);
    EXPECT_EQ(data.Wnd, tray.NotificationWindowHandle());
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uCallbackMessage, 0x0401u);
    EXPECT_EQ(data.uTimeOut, 3u);
    EXPECT_EQ(std::wstring(data.szTip), L"");
    EXPECT_EQ(data.dwState | data.dwStateMask, 0u);

    const HWND window = tray.NotificationWindowHandle();
    EXPECT_EQ(ClassName(window), L"TPUtilWindowEx");
    EXPECT_EQ(::GetParent(window), nullptr);
    EXPECT_NE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_POPUP, 0);
    EXPECT_FALSE(::IsWindowVisible(window));
    RECT bounds;
    ::GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
}

TEST_F(TrayIconTest, TheAddedIconAsksForTheInterfaceVersionOnce) {
    tray.SetIconVisible(true);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(shell.calls[0].Flags(), kAddFlags);
    EXPECT_EQ(shell.calls[1].Flags(), 0u);
    EXPECT_EQ(shell.calls[1].data.uTimeOut, 3u);
    EXPECT_TRUE(tray.IconVisible());
    // Shown already: nothing more is added.
    tray.SetIconVisible(true);
    EXPECT_EQ(shell.calls.size(), 2u);
}

TEST_F(TrayIconTest, NoIconWhileTheComponentIsInactive) {
    tray.SetActive(false);
    tray.SetIconVisible(true);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(tray.IconVisible());
}

// Fault: a shell too busy to answer at log-on left the program with no icon
// and no way in.
TEST_F(TrayIconTest, ARefusedAddIsTriedAgainUntilAcceptedOrGivenUp) {
    shell.refused = {NIM_ADD, NIM_MODIFY};
    tray.SetIconVisible(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
    EXPECT_FALSE(tray.IconVisible());
    EXPECT_EQ(shell.timers[ui::kIconRetryTimerId], ui::kIconRetryInterval);
    // Each refusal in between keeps the count; the last one gives up.
    tray.SetIconVisible(true);
    for (int i = 0; i < ui::kIconRetries; ++i) TimerExpires(ui::kIconRetryTimerId);
    EXPECT_EQ(shell.Count(NIM_ADD), 2u + ui::kIconRetries);
    EXPECT_EQ(application.iconsGivenUp, 1);
    EXPECT_FALSE(shell.TimerRunning(ui::kIconRetryTimerId));

    // Tried again when asked again; the shell added it after all, and the retries end.
    tray.SetIconVisible(true);
    shell.refused.erase(NIM_MODIFY);
    TimerExpires(ui::kIconRetryTimerId);
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_FALSE(shell.TimerRunning(ui::kIconRetryTimerId));
    EXPECT_EQ(application.iconsGivenUp, 1);
}

TEST_F(TrayIconTest, AShellBeforeVersion5GetsNoVersionRequest) {
    shell.version = {4, 72};
    tray.SetIconVisible(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_FALSE(tray.AcceptBalloons());
}

TEST_F(TrayIconTest, AClickOfEachButtonIsReportedOnceTheDoubleClickTimeHasPassed) {
    IntoTheTray();
    struct Row {
        UINT down;
        UINT up;
        ui::TMouseButton button;
    };
    for (const Row& row : {Row{WM_LBUTTONDOWN, WM_LBUTTONUP, ui::mbLeft}, Row{WM_RBUTTONDOWN, WM_RBUTTONUP, ui::mbRight},
                           Row{WM_MBUTTONDOWN, WM_MBUTTONUP, ui::mbMiddle}}) {
        SCOPED_TRACE(static_cast<int>(row.button));
        clicks.clear();
        Click(row.down, row.up);
        EXPECT_TRUE(clicks.empty());
        ASSERT_TRUE(shell.TimerRunning(ui::kClickTimerId));
        EXPECT_EQ(shell.timers[ui::kClickTimerId], ::GetDoubleClickTime());

        TimerExpires(ui::kClickTimerId);
        EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));
        ASSERT_EQ(clicks.size(), 1u);
        EXPECT_EQ(clicks[0].button, row.button);
        POINT cursor;
        ::GetCursorPos(&cursor);
        EXPECT_EQ(clicks[0].x, cursor.x);
        EXPECT_EQ(clicks[0].y, cursor.y);
        // What the click shows or hides is the application's to decide.
        EXPECT_TRUE(shell.calls.empty());

        // A late expiry does nothing more.
        TimerExpires(ui::kClickTimerId);
        EXPECT_EQ(clicks.size(), 1u);
    }
}

TEST_F(TrayIconTest, ASecondClickWithinTheDoubleClickTimeReplacesTheFirstAndKeepsTheTimer) {
    IntoTheTray();
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP);
    Click(WM_MBUTTONDOWN, WM_MBUTTONUP);
    EXPECT_EQ(shell.timerStarts[ui::kClickTimerId], 1);
    TimerExpires(ui::kClickTimerId);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].button, ui::mbMiddle);
}

TEST_F(TrayIconTest, ADoubleClickReportsAtOnceDropsThePendingClickAndLeavesTheIcon) {
    IntoTheTray();
    // What the shell sends for a double click.
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    IconEvent(WM_LBUTTONDBLCLK);
    // Reported from the queue, once the shell's callback has returned.
    EXPECT_TRUE(doubleClicks.empty());
    HandlePosted();
    ASSERT_EQ(doubleClicks.size(), 1u);
    EXPECT_EQ(doubleClicks[0].button, ui::mbLeft);
    EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));
    // The button-up after the double click is no click of its own.
    IconEvent(WM_LBUTTONUP);
    EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));
    TimerExpires(ui::kClickTimerId);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(tray.IconVisible());
}

TEST_F(TrayIconTest, MovesMenuRequestsAndKeyboardSelectionDoNothing) {
    IntoTheTray();
    for (const LPARAM event : {WM_MOUSEMOVE, WM_CONTEXTMENU, NIN_KEYSELECT}) EXPECT_EQ(IconEvent(event), 0);
    // A button-up without its button-down is no click.
    IconEvent(WM_LBUTTONUP);
    EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, ARefusedRemovalKeepsTheIconMarkedShown) {
    IntoTheTray();
    shell.refused.insert(NIM_DELETE);
    tray.SetIconVisible(false);
    EXPECT_TRUE(tray.IconVisible());
    // So showing it again sends nothing.
    tray.SetIconVisible(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}));
}

TEST_F(TrayIconTest, ShellSessionAndCloseEventsAreReportedAndTheWindowOutlivesAClose) {
    IntoTheTray();
    const HWND window = tray.NotificationWindowHandle();
    ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    // The Restart Manager's: the program must close, the session goes on.
    ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(::SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(application.shellRestarts, 1);
    EXPECT_EQ(application.sessionEnds, (std::vector<bool>{true, false}));
    EXPECT_EQ(application.closesForRestart, 1);
    EXPECT_EQ(application.closeRequests, 1);
    // The icon's window, and so the icon, survive a close from outside.
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, ALostIconIsAddedAgainEvenWhenTheNewShellRefusesTheOldOnesRemoval) {
    IntoTheTray();
    tray.ReplaceLostIcon(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD, NIM_SETVERSION}));
    EXPECT_TRUE(tray.IconVisible());

    // The new shell does not know the lost icon.
    shell.calls.clear();
    shell.refused.insert(NIM_DELETE);
    tray.ReplaceLostIcon(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD, NIM_SETVERSION}));
    EXPECT_TRUE(tray.IconVisible());

    // Not wanted: only forgotten.
    shell.calls.clear();
    tray.ReplaceLostIcon(false);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}));
    EXPECT_FALSE(tray.IconVisible());
}

TEST_F(TrayIconTest, ANewIconShowsAtOnceAndInEveryLaterAdd) {
    const HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    // Not in the notification area: nothing to change there yet.
    tray.SetIcon(icon);
    EXPECT_TRUE(shell.calls.empty());
    tray.SetIconVisible(true);
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(shell.calls.front().data.hIcon, icon);

    const HICON other = ::LoadIconW(nullptr, IDI_INFORMATION);
    shell.calls.clear();
    tray.SetIcon(other);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY}));
    EXPECT_EQ(shell.Last().Flags(), static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(shell.Last().data.hIcon, other);

    // A new shell gets the new icon too.
    shell.calls.clear();
    tray.ReplaceLostIcon(true);
    EXPECT_EQ(shell.calls.at(1).message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.calls.at(1).data.hIcon, other);
}

TEST_F(TrayIconTest, DeactivationStopsTheTimersAndRemovesTheIcon) {
    IntoTheTray();
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    tray.BalloonHint(u"Error", u"line", core::btError, 5000, false);
    TimerExpires(ui::kBalloonSendTimerId);
    tray.BalloonHint(u"Error", u"next line", core::btError, 5000, false);
    ASSERT_TRUE(shell.TimerRunning(ui::kClickTimerId));
    ASSERT_TRUE(shell.TimerRunning(ui::kBalloonTimerId));
    ASSERT_TRUE(shell.TimerRunning(ui::kBalloonSendTimerId));
    shell.calls.clear();

    tray.SetActive(false);
    EXPECT_TRUE(shell.timers.empty());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}));
    EXPECT_FALSE(tray.IconVisible());
}

TEST(TrayIconLifetimeTest, DestructionRemovesTheIconAndTheNotificationWindow) {
    RecordingTrayShell shell;
    FixedClock clock;
    StandInApplication application;
    auto tray = std::make_unique<ui::TJvTrayIcon>(application, shell, clock, nullptr);
    tray->SetActive(true);
    tray->SetIconVisible(true);
    const HWND window = tray->NotificationWindowHandle();
    tray.reset();
    EXPECT_EQ(shell.Last().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace kestrin::test
