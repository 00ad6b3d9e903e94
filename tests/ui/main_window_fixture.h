#pragma once
// A fresh main window per test, never shown unless the test shows it, with
// its handlers recorded.

#include <gtest/gtest.h>
#include <windows.h>

#include "recording_events.h"
#include "ui/main_window_win32.h"

namespace kestrin::test {

class MainWindowTest : public ::testing::Test {
protected:
    RecordingEvents events;
    ui::MainWindow window{nullptr, u"Kestrin", events};

    // The control's place in its parent's client area.
    static RECT PlaceOf(HWND control) {
        RECT bounds;
        ::GetWindowRect(control, &bounds);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }
    SIZE ClientSize() const {
        RECT client;
        ::GetClientRect(window.Handle(), &client);
        return {client.right, client.bottom};
    }
    int RowCount() const { return static_cast<int>(::SendMessageW(window.ListBox1(), LB_GETCOUNT, 0, 0)); }
    void Select(int row) const { ::SendMessageW(window.ListBox1(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }
};

}  // namespace kestrin::test
