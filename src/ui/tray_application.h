#pragma once
// What the tray icon needs of the application it hides and restores.

#include <windows.h>

#include <exception>

namespace kestrin::ui {

class TrayApplication {
public:
    virtual ~TrayApplication() = default;
    // The hidden top-level window that carries the task-bar button.
    virtual HWND TaskbarWindow() const = 0;
    // Null while there is none.
    virtual HWND MainWindowHandle() const = 0;
    // ShowWindow on the task-bar window for the tray icon: the application
    // takes this for neither the user's minimise nor its own showing.
    virtual void ShowTaskbarWindow(int showCommand) = 0;
    // The application minimises itself (which runs its minimise hook) or
    // restores itself.
    virtual void Minimise() = 0;
    virtual void Restore() = 0;
    // An error escaped the notification window's message handling.
    virtual void HandleException(std::exception_ptr error) = 0;
};

}  // namespace kestrin::ui
