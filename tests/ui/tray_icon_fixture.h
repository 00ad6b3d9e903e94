#pragma once
// A tray icon on a stand-in application with real windows: a hidden
// task-bar window and a main window it owns. The shell and the timers are
// recorded; each test drives the notification window with the messages the
// shell, the timers and a user's clicks send.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "recording_tray_shell.h"
#include "support/fixed_clock.h"
#include "ui/tray_icon_win32.h"
#include "ui/win32_handles.h"

namespace kestrin::test {

// The task-bar window takes SC_MINIMIZE as the application's: it minimises
// itself, not the window (the tray icon's hook has seen the command first).
inline LRESULT CALLBACK StandInTaskbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

inline const wchar_t* StandInTaskbarClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = StandInTaskbarProcedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KestrinStandInTaskbar";
        return ::RegisterClassW(&windowClass) != 0;
    }();
    return registered ? L"KestrinStandInTaskbar" : L"STATIC";
}

class StandInApplication final : public ui::TrayApplication {
public:
    StandInApplication()
        : taskbar_(::CreateWindowExW(0, StandInTaskbarClass(), L"Kestrin",
                                     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr)),
          main_(::CreateWindowExW(0, L"STATIC", L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, taskbar_.Get(), nullptr,
                                  nullptr, nullptr)) {}

    HWND TaskbarWindow() const override { return taskbar_.Get(); }
    HWND MainWindowHandle() const override { return main_.Get(); }
    void ShowTaskbarWindow(int showCommand) override { ::ShowWindow(taskbar_.Get(), showCommand); }
    void Minimise() override {
        ++minimises;
        if (::IsWindowVisible(taskbar_.Get())) ::ShowWindow(taskbar_.Get(), SW_MINIMIZE);
        ::ShowWindow(main_.Get(), SW_HIDE);
    }
    void Restore() override {
        ++restores;
        ::ShowWindow(taskbar_.Get(), SW_RESTORE);
    }
    void HandleException(std::exception_ptr error) override { errors.push_back(error); }

    int minimises = 0;
    int restores = 0;
    std::vector<std::exception_ptr> errors;

private:
    ui::UniqueWindow taskbar_;
    ui::UniqueWindow main_;
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
        tray.HideApplication();
        ASSERT_TRUE(tray.IconVisible());
        shell.calls.clear();
    }
    LRESULT IconEvent(LPARAM event) {
        return ::SendMessageW(tray.NotificationWindowHandle(), ui::kTrayCallbackMessage, ui::kTrayIconId, event);
    }
    void TimerExpires(UINT_PTR id) { ::SendMessageW(tray.NotificationWindowHandle(), WM_TIMER, id, 0); }
    void Click(UINT down, UINT up) {
        IconEvent(down);
        IconEvent(up);
    }
    bool HasState(std::uint8_t flag) const { return (tray.State() & flag) != 0; }
};

}  // namespace kestrin::test
