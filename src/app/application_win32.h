#pragma once
// The application object: its hidden task-bar window (which carries the
// task-bar button and owns the main window), the main window with the
// monitor's logic and its tray icon, and the event loop that also runs the
// listener's deliveries.

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "core/form1.h"
#include "core/form_outputs.h"
#include "files/program_directory.h"
#include "publicaddr/public_address_check.h"
#include "ui/main_window_win32.h"
#include "ui/tray_application.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_shell.h"
#include "ui/win32_handles.h"

namespace kestrin::app {

class Application final : public ui::MainWindowEvents, public ui::TrayApplication {
public:
    // Creates the task-bar window, the main window and its components (the
    // tray icon, activated, hides the application), then runs FormCreate; an
    // error that ends it is shown in the error box. `shell` must outlive the object.
    Application(HINSTANCE instance, files::ProgramDirectory directory, ui::TrayShell& shell = ui::SystemTrayShell());
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The event loop; returns the exit code once the main window has closed.
    int Run();
    // Services the messages already waiting, as the event loop does, and
    // returns; a quit among them stays for Run.
    void ProcessMessages();

    const std::u16string& Title() const { return title_; }
    ui::MainWindow& MainWindow() { return *mainWindow_; }
    ui::TJvTrayIcon& JvTrayIcon1() { return *jvTrayIcon1_; }
    core::TForm1& Form() { return *form_; }
    bool Minimised() const { return minimised_; }

    // ui::MainWindowEvents
    void CloseRequested() override;
    void MinimiseRequested() override;
    void RegisterMinimiseHook() override;
    void HandleException(std::exception_ptr error) override;

    // ui::TrayApplication
    HWND TaskbarWindow() const override { return taskbarWindow_; }
    HWND MainWindowHandle() const override;
    void ShowTaskbarWindow(int showCommand) override;
    void Minimise() override;
    void Restore() override;

private:
    static LRESULT CALLBACK TaskbarWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleTaskbarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateTaskbarWindow(HINSTANCE instance);
    void CreateJvTrayIcon1(HINSTANCE instance, ui::TrayShell& shell);
    // One message as the event loop handles it; false for the quit.
    bool Dispatch(MSG& message);
    // Shows the task-bar window while a window of the application is
    // visible, hides it when none is; leaves it alone while someone else has
    // set it otherwise.
    void UpdateTaskbarButton();

    files::ProgramDirectory directory_;
    std::u16string title_;
    HWND taskbarWindow_ = nullptr;
    bool taskbarShown_ = false;  // what UpdateTaskbarButton set last
    bool minimised_ = false;
    // The tray icon is showing the task-bar window: no minimise of the user's.
    bool trayShowing_ = false;
    bool minimiseHookRegistered_ = false;
    bool closing_ = false;
    publicaddr::PublicAddressService publicAddress_;
    ui::UniqueIcon trayImage_;
    std::unique_ptr<ui::TJvTrayIcon> jvTrayIcon1_;
    std::unique_ptr<ui::MainWindow> mainWindow_;
    std::unique_ptr<core::TForm1> form_;
};

}  // namespace kestrin::app
