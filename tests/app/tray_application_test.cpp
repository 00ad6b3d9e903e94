// The application with its tray icon, as a user's clicks on the icon and the
// minimise box leave it: which windows show, whether the task-bar button
// shows, and whether the icon stays. The shell is recorded.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/application_win32.h"
#include "files/scratch_directory.h"
#include "ui/recording_tray_shell.h"

namespace kestrin::test {
namespace {

class TrayApplicationTest : public ::testing::Test {
protected:
    ScratchDirectory directory;
    RecordingTrayShell shell;
    std::unique_ptr<app::Application> application;

    void SetUp() override {
        // Nothing listens on port 9 of the loopback address.
        WriteBytes(directory.Path() / "config.cfg",
                   "[Main]\r\nPort=0\r\nIPVersion=IPV4\r\nERROR=1\r\nWARNING=1\r\nIP1=http://127.0.0.1:9/\r\n"
                   "IP2=http://127.0.0.1:9/\r\n");
        application = std::make_unique<app::Application>(::GetModuleHandleW(nullptr), directory.AsProgramDirectory(),
                                                          shell);
        application->ProcessMessages();
    }

    ui::TJvTrayIcon& Tray() { return application->JvTrayIcon1(); }
    HWND Main() { return application->MainWindow().Handle(); }
    HWND Taskbar() { return application->TaskbarWindow(); }
    // What the shell and the timers send, handled as the event loop handles it.
    void Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
        ::PostMessageW(Tray().NotificationWindowHandle(), message, wParam, lParam);
        application->ProcessMessages();
    }
    void Click(UINT down, UINT up) {
        Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, down);
        Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, up);
    }
    void ClickTimeRunsOut() { Deliver(WM_TIMER, ui::kClickTimerId, 0); }
    void MinimiseMainWindow() {
        ::PostMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        application->ProcessMessages();
    }
    void ExpectInTheTray() {
        EXPECT_FALSE(::IsWindowVisible(Main()));
        EXPECT_FALSE(::IsWindowVisible(Taskbar()));
        EXPECT_TRUE(Tray().IconVisible());
    }
    void ExpectShown() {
        EXPECT_TRUE(::IsWindowVisible(Main()));
        EXPECT_FALSE(::IsIconic(Main()));
        EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Normal);
        EXPECT_TRUE(::IsWindowVisible(Taskbar()));
    }
};

TEST_F(TrayApplicationTest, StartsHiddenWithOnlyItsIconWhichHasNoTooltip) {
    ExpectInTheTray();
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(std::wstring(shell.calls[0].data.szTip), L"");
    EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Minimised);
}

TEST_F(TrayApplicationTest, ASingleLeftClickShowsTheWindowAndRemovesTheIconAndMinimisingPutsItBack) {
    shell.calls.clear();
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    // Nothing until the double-click time has run out.
    EXPECT_FALSE(::IsWindowVisible(Main()));
    EXPECT_EQ(shell.timers[ui::kClickTimerId], ::GetDoubleClickTime());
    ClickTimeRunsOut();
    ExpectShown();
    EXPECT_FALSE(Tray().IconVisible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}));
    EXPECT_FALSE(application->Minimised());

    // No icon, so entries raise no balloon.
    shell.calls.clear();
    application->MainWindow().BalloonHint(u"Kestrin", u"entry", core::btError, 5000, false);
    EXPECT_TRUE(shell.calls.empty());

    MinimiseMainWindow();
    ExpectInTheTray();
    EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Minimised);
    EXPECT_TRUE(application->Minimised());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));

    // And back once more.
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    ClickTimeRunsOut();
    ExpectShown();
    EXPECT_FALSE(Tray().IconVisible());
}

TEST_F(TrayApplicationTest, ADoubleClickShowsTheWindowAtOnceAndTheIconStays) {
    shell.calls.clear();
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, WM_LBUTTONDBLCLK);
    Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, WM_LBUTTONUP);
    ExpectShown();
    EXPECT_TRUE(Tray().IconVisible());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));

    // Balloons keep coming while the window is open.
    application->MainWindow().BalloonHint(u"Kestrin", u"entry", core::btError, 5000, false);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY}));
}

TEST_F(TrayApplicationTest, ARightClickShowsTheWindowAfterTheDoubleClickTimeAndMinimisingHidesItAgain) {
    shell.calls.clear();
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_FALSE(::IsWindowVisible(Main()));
    ClickTimeRunsOut();
    ExpectShown();
    EXPECT_TRUE(Tray().IconVisible());
    EXPECT_TRUE(shell.calls.empty());

    MinimiseMainWindow();
    ExpectInTheTray();
    // Twice: the application's minimised flag does not swallow the second.
    Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, WM_MBUTTONDOWN);
    Deliver(ui::kTrayCallbackMessage, ui::kTrayIconId, WM_MBUTTONUP);
    ClickTimeRunsOut();
    ExpectShown();
    MinimiseMainWindow();
    ExpectInTheTray();
}

}  // namespace
}  // namespace kestrin::test
