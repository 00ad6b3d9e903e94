#pragma once
// Who asks the program to close. The user's own command is a request each
// time; another program's WM_CLOSE names the window it went to, as taskkill
// sends one to every top-level window of the program for one request.

#include <cstdint>

namespace kestrin::ui {

enum class CloseFrom : std::uint8_t {
    User,                // "&Close", the close box, the system menu, Alt+F4
    MainWindow,          // a WM_CLOSE to the main window
    TaskbarWindow,       // a WM_CLOSE to the task-bar window
    NotificationWindow,  // a WM_CLOSE to the tray icon's window
};

}  // namespace kestrin::ui
